#include "app/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace qx40 {

void QtTranslations::Use(bool russian) {
    if (russian_ == russian) return;
    russian_ = russian;
    translator_.reset();
    if (!russian) return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral("qtbase_ru"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator.get()))
        translator_ = std::move(translator);
}

}  // namespace qx40
