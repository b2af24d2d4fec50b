#include "widgets/Accessibility.h"

#include "widgets/PanelButton.h"
#include "widgets/TitleStrip.h"
#include "widgets/ToolButton.h"
#include "widgets/TranslateForm.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace quenyx::shell {

namespace {

constexpr char kTabProperty[] = "quenyxPageTab";

// A navigation entry is the clickable panel that holds its icons and caption.
bool IsNavigationEntry(const QWidget* widget)
{
    return widget->objectName().startsWith(QLatin1String("pb")) && widget->findChild<QLabel*>(
        QStringLiteral("lbl") + widget->objectName().mid(2), Qt::FindDirectChildrenOnly);
}

class DrawnControl final : public QAccessibleWidget
{
public:
    DrawnControl(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        if (!widget()->accessibleName().isEmpty())
            return widget()->accessibleName();
        if (const auto* panel = qobject_cast<const PanelButton*>(widget()))
            return panel->label()->text();
        if (IsNavigationEntry(widget()))
            return widget()->findChild<QLabel*>(QStringLiteral("lbl") + widget()->objectName().mid(2))->text();
        if (role() == QAccessible::PageTab) {
            if (const auto* caption = widget()->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
                return caption->text();
        }
        if (widget()->objectName() == QLatin1String("btnClose"))
            return modGlobalization::Text("Close");
        return widget()->toolTip();
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (const auto* tool = qobject_cast<const ToolButton*>(widget()); tool && !tool->IsActive())
            state.disabled = true;
        if (role() == QAccessible::ListItem) {
            state.selectable = true;
            const auto* selected = widget()->findChild<QWidget*>(
                QStringLiteral("icon%1Selected").arg(widget()->objectName().mid(2)));
            state.selected = selected && selected->isVisibleTo(widget());
        }
        return state;
    }

    QStringList actionNames() const override
    {
        return state().disabled ? QStringList() : QStringList{pressAction()};
    }

    void doAction(const QString& action) override
    {
        if (action == pressAction() && !state().disabled)
            QMetaObject::invokeMethod(widget(), "clicked");
    }
};

// Left out of the tree: the entry or button that holds it speaks for it.
class Decoration final : public QAccessibleWidget
{
public:
    explicit Decoration(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Graphic) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

// The wait box: a status that is busy, named by its message, so a screen reader says what the console waits for.
class WaitBox final : public QAccessibleWidget
{
public:
    explicit WaitBox(QWidget* widget) : QAccessibleWidget(widget, QAccessible::StatusBar) {}

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name) {
            if (const auto* message = widget()->findChild<QLabel*>(QStringLiteral("lblMessage")))
                return message->text();
        }
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.busy = true;
        return state;
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (widget->isWindow() && widget->objectName() == QLatin1String("frmWait"))
        return new WaitBox(widget);
    // The navigation panel is the list that holds the navigation entries.
    if (widget->objectName() == QLatin1String("pbTreeView"))
        return new QAccessibleWidget(widget, QAccessible::List);
    if (qobject_cast<PanelButton*>(widget) || qobject_cast<ToolButton*>(widget) ||
        widget->objectName() == QLatin1String("btnClose"))
        return new DrawnControl(widget, QAccessible::Button);
    if (qobject_cast<ClickableLabel*>(widget)) {
        if (widget->property(kTabProperty).toBool())
            return new DrawnControl(widget, QAccessible::PageTab);
        if (IsNavigationEntry(widget))
            return new DrawnControl(widget, QAccessible::ListItem);
        if (widget->parentWidget() && IsNavigationEntry(widget->parentWidget()))
            return new Decoration(widget);
    }
    // A label that holds only a picture, and the captions inside the controls above.
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        QWidget* parent = label->parentWidget();
        if ((label->text().isEmpty() && !qobject_cast<ClickableLabel*>(label)) ||
            (parent && (qobject_cast<PanelButton*>(parent) || IsNavigationEntry(parent) ||
                        parent->property(kTabProperty).toBool())))
            return new Decoration(widget);
    }
    return nullptr;
}

} // namespace

void MarkAsTab(QWidget* header)
{
    InstallAccessibility();
    header->setProperty(kTabProperty, true);
}

void InstallAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    static_cast<void>(installed);
}

} // namespace quenyx::shell
