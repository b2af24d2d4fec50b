#pragma once

#include <QHash>
#include <QMenuBar>
#include <QPixmap>
#include <QString>
#include <QStringList>

#include <optional>

namespace quenyx::shell {

enum class MenuStyle { Normal, Separator };

struct MenuEntry
{
    QString parentKey; // empty for an entry of the bar itself
    QString key;
    MenuStyle style = MenuStyle::Normal;
    QString caption;
    bool enabled = true;
    bool visible = true;
    bool hasIcon = false;
};

// The main window's menu: entries addressed by key, each on the bar or under another entry, in the
// console's colours. Every click on an entry is reported by its key.
class MenuBar final : public QMenuBar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MenuBar)

public:
    explicit MenuBar(QWidget* parent = nullptr);
    ~MenuBar() override;

    // False, and nothing added, for an empty or used key, or a parent that is unknown or a separator.
    bool AddEntry(const QString& parentKey, const QString& key, MenuStyle style, const QString& caption,
                  const QPixmap& icon, bool enabled, bool visible = true);
    bool SetEnabled(const QString& key, bool enabled);
    bool IsEnabled(const QString& key) const;
    std::optional<MenuEntry> Entry(const QString& key) const;
    QStringList Keys() const;
    QAction* Action(const QString& key) const;

    // Acts as a click on the entry: true, and entryClicked, only for a known, enabled and visible entry
    // that is not a separator.
    bool Trigger(const QString& key);

signals:
    // An entry without children when it is clicked; an entry with children when its menu opens.
    void entryClicked(const QString& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsMenuOpen() const;
    struct Item
    {
        QString parentKey;
        MenuStyle style;
        bool hasIcon;
        QAction* action;
    };

    QMenu* SubmenuOf(Item& parent, const QString& parentKey);

    QStringList order_;
    QHash<QString, Item> items_;
};

} // namespace quenyx::shell
