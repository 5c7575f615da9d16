#include "consoledialog.h"

#include "settings.h"
#include "ui_consoledialog.h"

#include <QAction>
#include <QFont>
#include <QSignalBlocker>

#include <memory>

namespace
{
const char* const kCommandsArray = "cmds";
const char* const kQuickiesArray = "quickies";
// Output beyond this many lines scrolls away.
const int kLogLines = 5000;

std::unique_ptr<tcSettings> openSettings()
{
    return std::unique_ptr<tcSettings>(tcSettings::getSettings(QString()));
}
} // namespace

tcConsoleDialog::tcConsoleDialog(QWidget* apParent)
    : QDialog(apParent), mpUi(std::make_unique<Ui::tcConsoleDialog>())
{
    mpUi->setupUi(this);
    mpUi->mqLog->setFont(QFont(QStringLiteral("Courier"), 9));
    mpUi->mqLog->setMaximumBlockCount(kLogLines);
    readCommands();
    readQuickies();
    connect(mpUi->mqCmdCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int anIndex) { ComboIndexChanged(mpUi->mqCmdCombo->itemText(anIndex)); });
    connect(mpUi->mqSendButton, &QPushButton::clicked, this, &tcConsoleDialog::SendCommand);
    mpUi->groupBoxHost->hide();
}

tcConsoleDialog::~tcConsoleDialog()
{
    std::unique_ptr<tcSettings> lpSettings = openSettings();
    lpSettings->beginWriteArray(QLatin1String(kCommandsArray), mpUi->mqCmdCombo->count());
    for (int lnRow = 0; lnRow < mpUi->mqCmdCombo->count(); ++lnRow)
    {
        lpSettings->setArrayIndex(lnRow);
        lpSettings->setValue(QStringLiteral("cmd"), mpUi->mqCmdCombo->itemText(lnRow));
    }
    lpSettings->endArray();
}

void tcConsoleDialog::readCommands()
{
    std::unique_ptr<tcSettings> lpSettings = openSettings();
    const int lnCount = lpSettings->beginReadArray(QLatin1String(kCommandsArray));
    QStringList lsCommands;
    for (int lnRow = 0; lnRow < lnCount; ++lnRow)
    {
        lpSettings->setArrayIndex(lnRow);
        lsCommands.append(lpSettings->value(QStringLiteral("cmd")).toString());
    }
    lpSettings->endArray();
    setCommands(lsCommands);
}

void tcConsoleDialog::readQuickies()
{
    std::unique_ptr<tcSettings> lpSettings = openSettings();
    const int lnCount = lpSettings->beginReadArray(QLatin1String(kQuickiesArray));
    for (int lnRow = 0; lnRow < lnCount; ++lnRow)
    {
        lpSettings->setArrayIndex(lnRow);
        auto* lpAction = new QAction(lpSettings->value(QStringLiteral("label")).toString(), this);
        lpAction->setProperty("cmd", lpSettings->value(QStringLiteral("cmd")).toString());
        connect(lpAction, &QAction::triggered, this, &tcConsoleDialog::QuickieTriggered);
        addAction(lpAction);
    }
    lpSettings->endArray();
}

void tcConsoleDialog::setCommands(const QStringList& arCommands)
{
    // Filling the drop-down is no choice of the user's.
    const QSignalBlocker lcBlock(mpUi->mqCmdCombo);
    mpUi->mqCmdCombo->clear();
    mpUi->mqCmdCombo->addItems(arCommands);
    mpUi->mqCmdCombo->setCurrentIndex(-1);
}

QString tcConsoleDialog::logText() const
{
    return mpUi->mqLog->toPlainText();
}

void tcConsoleDialog::SendCommand()
{
    msCommand = mpUi->mqCmd->text().trimmed();
}

void tcConsoleDialog::QuickieTriggered()
{
    const auto* lpAction = qobject_cast<const QAction*>(sender());
    const QString lsCommand = lpAction ? lpAction->property("cmd").toString() : QString();
    if (lsCommand.isEmpty())
        return;
    mpUi->mqCmd->setText(lsCommand);
    SendCommand();
}

void tcConsoleDialog::ComboIndexChanged(const QString& arText)
{
    mpUi->mqCmd->setText(arText);
}

void tcConsoleDialog::appendLog(const QString& arText)
{
    mpUi->mqLog->appendPlainText(arText);
}
