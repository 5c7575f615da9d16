#include "filesettingswidget.h"

#include "filedialogs.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

tcFileSettingsWidget::tcFileSettingsWidget(QWidget* apParent)
    : QWidget(apParent), mpLayout(new QHBoxLayout(this)), mpLabel(new QLabel(this)),
      mpLineEdit(new QLineEdit(this)), mpBrowse(new QPushButton(QStringLiteral("..."), this))
{
    mpLayout->setObjectName(QStringLiteral("horizontalLayout"));
    mpLabel->setObjectName(QStringLiteral("label"));
    mpLineEdit->setObjectName(QStringLiteral("lineEdit"));
    mpLineEdit->setClearButtonEnabled(true);
    mpBrowse->setObjectName(QStringLiteral("pushButtonBrowse"));
    mpBrowse->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    mpBrowse->setMaximumWidth(32);
    mpLayout->addWidget(mpLabel);
    mpLayout->addWidget(mpLineEdit);
    mpLayout->addWidget(mpBrowse);
    connect(mpBrowse, &QPushButton::clicked, this, &tcFileSettingsWidget::slot_browse);
    connect(mpLineEdit, &QLineEdit::textChanged, this, &tcFileSettingsWidget::lineEditChanged);
}

tcFileSettingsWidget::~tcFileSettingsWidget() = default;

void tcFileSettingsWidget::setLabel(const QString& arText)
{
    mpLabel->setText(arText);
}

QString tcFileSettingsWidget::labelText() const
{
    return mpLabel->text();
}

void tcFileSettingsWidget::setFileName(const QString& arFileName)
{
    mpLineEdit->setText(arFileName);
}

QString tcFileSettingsWidget::fileName() const
{
    return mpLineEdit->text();
}

void tcFileSettingsWidget::setFileTypes(QString asFilter)
{
    msFileTypes = std::move(asFilter);
}

void tcFileSettingsWidget::setPlaceholderText(const QString& arText)
{
    mpLineEdit->setPlaceholderText(arText);
}

void tcFileSettingsWidget::setMode(teMode aeMode)
{
    meMode = aeMode;
}

void tcFileSettingsWidget::setPathHilite(bool abOn)
{
    mbPathHilite = abOn;
    hilitePath(!abOn || QFileInfo::exists(fileName()));
}

void tcFileSettingsWidget::hilitePath(bool abExists)
{
    mpLineEdit->setStyleSheet(abExists ? QStringLiteral("color: #000000") : QStringLiteral("color: #FF0000"));
}

void tcFileSettingsWidget::lineEditChanged()
{
    if (mbPathHilite)
        hilitePath(QFileInfo::exists(fileName()));
    emit fileNameChanged(fileName());
}

// An empty answer means the user cancelled: no dialog mode can choose an
// empty path.
QString tcFileSettingsWidget::askForPath()
{
    const QString lsTitle = tr("Select %1").arg(labelText());
    switch (meMode)
    {
    case eOpenFiles:
    {
        const QStringList lsFiles = tcFileDialogs::getOpenFileNames(this, lsTitle, fileName(), msFileTypes);
        return lsFiles.isEmpty() ? QString() : lsFiles.join(QLatin1Char(':'));
    }
    case eDirectory:
        return tcFileDialogs::getExistingDirectory(this, lsTitle, fileName());
    case eOpenFile:
    default:
        return tcFileDialogs::getOpenFileName(this, lsTitle, fileName(), msFileTypes);
    }
}

void tcFileSettingsWidget::slot_browse()
{
    const QString lsPath = askForPath();
    if (lsPath.isEmpty())
        return;
    mpLineEdit->setText(lsPath);
    emit fileNameChanged(lsPath);
}
