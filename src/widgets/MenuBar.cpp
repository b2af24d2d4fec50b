#include "widgets/MenuBar.h"

#include "widgets/Look.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

namespace quenyx::shell {

namespace {

const QColor kDisabledGrey{180, 180, 180};
const QColor kLineGrey{200, 200, 200};

// The menus are children of the bar, so these rules reach them too.
QString StyleSheet()
{
    return QStringLiteral(R"(
QMenuBar { background-color: %1; color: %2; }
QMenuBar::item { background: transparent; padding: 3px 8px; }
QMenuBar::item:selected, QMenuBar::item:pressed { background-color: %3; color: white; }
QMenuBar::item:disabled { background: transparent; color: %4; }
QMenu { background-color: %1; color: %2; border: 1px solid %5; padding: 2px 0px; }
QMenu::item { padding: 4px 24px 4px 8px; background: transparent; }
QMenu::item:selected { background-color: %3; color: white; }
QMenu::item:disabled { background: transparent; color: %4; }
QMenu::separator { height: 1px; background: %5; margin: 3px 4px; }
)")
        .arg(kBandGrey.name(), kLabelGrey.name(), kSelectedOrange.name(), kDisabledGrey.name(), kLineGrey.name());
}

} // namespace

MenuBar::MenuBar(QWidget* parent) : QMenuBar(parent)
{
    setNativeMenuBar(false);
    setFont(DesignFont(9));
    setStyleSheet(StyleSheet());
}

MenuBar::~MenuBar() = default;

QMenu* MenuBar::SubmenuOf(Item& parent, const QString& parentKey)
{
    if (auto* menu = parent.action->menu())
        return menu;
    auto* menu = new QMenu(this);
    menu->setWindowFlag(Qt::NoDropShadowWindowHint);
    menu->setFont(DesignFont(9));
    parent.action->setMenu(menu);
    menu->installEventFilter(this);
    // The bar opens the menu instead of triggering the entry; the opening is that entry's click.
    connect(menu, &QMenu::aboutToShow, this, [this, parentKey] { emit entryClicked(parentKey); });
    return menu;
}

bool MenuBar::AddEntry(const QString& parentKey, const QString& key, MenuStyle style, const QString& caption,
                       const QPixmap& icon, bool enabled, bool visible)
{
    if (key.isEmpty() || items_.contains(key))
        return false;
    QMenu* menu = nullptr;
    if (!parentKey.isEmpty()) {
        const auto parent = items_.find(parentKey);
        if (parent == items_.end() || parent->style == MenuStyle::Separator)
            return false;
        menu = SubmenuOf(*parent, parentKey);
    }

    auto* action = new QAction(this);
    action->setObjectName(key);
    if (style == MenuStyle::Separator) {
        action->setSeparator(true);
    } else {
        action->setText(caption);
        // On the bar Qt would draw the icon instead of the caption.
        if (menu && !icon.isNull())
            action->setIcon(QIcon(icon));
        connect(action, &QAction::triggered, this, [this, key, action] {
            if (!action->menu())
                emit entryClicked(key);
        });
    }
    action->setEnabled(enabled);
    action->setVisible(visible);
    if (menu)
        menu->addAction(action);
    else
        addAction(action);

    items_.insert(key, Item{parentKey, style, !icon.isNull(), action});
    order_.append(key);
    return true;
}

// Escape closes the open menu and leaves the bar as it was before it opened, as on Windows. Qt's menu closes
// itself and hands the keyboard to the bar with the title highlighted; a second Escape is how the bar itself
// leaves that state, so the bar is given one once the menu has closed. Everything stays Qt's own doing, and a
// click on a title afterwards opens its menu at once.
bool MenuBar::eventFilter(QObject* watched, QEvent* event)
{
    auto* menu = qobject_cast<QMenu*>(watched);
    if (menu && event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier) {
        QMetaObject::invokeMethod(
            this,
            [bar = QPointer<MenuBar>(this)] {
                if (bar && bar->activeAction() && !bar->IsMenuOpen()) {
                    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                    QCoreApplication::sendEvent(bar, &escape);
                }
            },
            Qt::QueuedConnection);
    }
    return QMenuBar::eventFilter(watched, event);
}

bool MenuBar::IsMenuOpen() const
{
    const auto* action = activeAction();
    return action && action->menu() && action->menu()->isVisible();
}

bool MenuBar::SetEnabled(const QString& key, bool enabled)
{
    const auto item = items_.find(key);
    if (item == items_.end())
        return false;
    item->action->setEnabled(enabled);
    return true;
}

bool MenuBar::IsEnabled(const QString& key) const
{
    const auto item = items_.find(key);
    return item != items_.end() && item->action->isEnabled();
}

std::optional<MenuEntry> MenuBar::Entry(const QString& key) const
{
    const auto item = items_.find(key);
    if (item == items_.end())
        return std::nullopt;
    return MenuEntry{.parentKey = item->parentKey,
                     .key = key,
                     .style = item->style,
                     .caption = item->action->text(),
                     .enabled = item->action->isEnabled(),
                     .visible = item->action->isVisible(),
                     .hasIcon = item->hasIcon};
}

QStringList MenuBar::Keys() const
{
    return order_;
}

QAction* MenuBar::Action(const QString& key) const
{
    const auto item = items_.find(key);
    return item == items_.end() ? nullptr : item->action;
}

bool MenuBar::Trigger(const QString& key)
{
    const auto item = items_.find(key);
    if (item == items_.end() || item->style == MenuStyle::Separator || !item->action->isEnabled() ||
        !item->action->isVisible())
        return false;
    if (item->action->menu())
        emit entryClicked(key);
    else
        item->action->trigger();
    return true;
}

} // namespace quenyx::shell
