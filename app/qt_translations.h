// Qt's own texts (the standard buttons of message boxes, the file dialogs)
// in the window's language, from the translations that come with Qt.
#pragma once

#include <QTranslator>
#include <memory>
#include <optional>

namespace qx40 {

class QtTranslations {
public:
    // Installs Qt's Russian texts in the application, or takes them away
    // for English. Without the translation files Qt speaks English.
    void Use(bool russian);

private:
    std::optional<bool> russian_;
    std::unique_ptr<QTranslator> translator_;  // removes itself from the application when destroyed
};

}  // namespace qx40
