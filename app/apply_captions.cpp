#include "app/apply_captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

#include "app/caption_table.h"

namespace qx40 {
namespace {

using NamedObjects = QHash<QString, QList<QObject*>>;

void Collect(QObject* object, NamedObjects& named, QSet<QObject*>& seen) {
    if (object == nullptr || seen.contains(object)) return;
    seen.insert(object);
    if (!object->objectName().isEmpty()) named[object->objectName()].append(object);
}

// Actions are reachable through their menus even when another object owns
// them, so menu bars and menus are walked by their action lists as well.
void CollectMenuActions(const QList<QAction*>& actions, NamedObjects& named, QSet<QObject*>& seen) {
    for (QAction* action : actions) {
        Collect(action, named, seen);
        if (QMenu* menu = action->menu(); menu != nullptr && !seen.contains(menu)) {
            Collect(menu, named, seen);
            CollectMenuActions(menu->actions(), named, seen);
        }
    }
}

NamedObjects NamedObjectsOf(QWidget* window) {
    NamedObjects named;
    QSet<QObject*> seen;
    const QList<QObject*> children = window->findChildren<QObject*>();
    for (QObject* child : children) Collect(child, named, seen);
    for (QObject* child : children) {
        if (auto* bar = qobject_cast<QMenuBar*>(child))
            CollectMenuActions(bar->actions(), named, seen);
        if (auto* menu = qobject_cast<QMenu*>(child))
            CollectMenuActions(menu->actions(), named, seen);
    }
    return named;
}

void SetCaption(QObject* object, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(object)) {
        action->setText(text);
    } else if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->setTitle(text);
    } else if (auto* box = qobject_cast<QGroupBox*>(object)) {
        box->setTitle(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(text);
    }
}

}  // namespace

void ApplyCaptions(QWidget* window, bool russian, std::int32_t deviceTypeCode) {
    if (window == nullptr) return;
    const NamedObjects named = NamedObjectsOf(window);
    for (const CaptionRow& row : MainWindowCaptions()) {
        const auto found = named.constFind(
            QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())));
        if (found == named.constEnd()) continue;
        const std::optional<std::string_view> caption = CaptionOf(row, russian, deviceTypeCode);
        if (!caption) continue;
        const QString text =
            QString::fromUtf8(caption->data(), static_cast<qsizetype>(caption->size()));
        for (QObject* object : *found) SetCaption(object, text);
    }
    for (const CaptionRow& row : MainWindowTooltips()) {
        const auto found = named.constFind(
            QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())));
        const std::optional<std::string_view> tip = CaptionOf(row, russian, deviceTypeCode);
        if (found == named.constEnd() || !tip) continue;
        for (QObject* object : *found)
            if (auto* widget = qobject_cast<QWidget*>(object))
                widget->setToolTip(
                    QString::fromUtf8(tip->data(), static_cast<qsizetype>(tip->size())));
    }
}

}  // namespace qx40
