#include "shell/frmMain.h"

#include "platform/mod_RegWin.h"
#include "platform/mod_Trace.h"

#include <QLabel>
#include <QVBoxLayout>

#include <vector>

namespace quenyx::shell {

frmMain::frmMain(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Quenyx Agent Admin"));
    resize(760, 496);
    auto* layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(summary_);

    std::vector<std::string> entries;
    mod_RegWin::EnumValues(mod_RegWin::HKLM, mod_Trace::AgentKey, entries);
    QString text = QStringLiteral("Agent settings:\n");
    for (const auto& entry : entries)
        text += QString::fromStdString(entry) + QLatin1Char('\n');
    summary_->setText(text);
}

frmMain::~frmMain() = default;

} // namespace quenyx::shell
