#pragma once

#include "framecore_export.h"

#include <QWidget>

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// A caption, a path and a browse button: the chooser of a file, of several
// files or of a folder on settings pages. The path is shown red while nothing
// of that name exists, so a typo is seen before the settings are saved.
class FRAMECORE_EXPORT tcFileSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    enum teMode
    {
        eOpenFile = 0,
        eOpenFiles = 1,
        eDirectory = 2
    };
    Q_ENUM(teMode)

    explicit tcFileSettingsWidget(QWidget* apParent = nullptr);
    ~tcFileSettingsWidget() override;

    void setLabel(const QString& arText);
    QString labelText() const;
    void setFileName(const QString& arFileName);
    QString fileName() const;
    void setFileTypes(QString asFilter);
    QString fileTypes() const { return msFileTypes; }
    void setPlaceholderText(const QString& arText);
    void setMode(teMode aeMode);
    teMode mode() const { return meMode; }
    void setPathHilite(bool abOn);
    bool pathHilite() const { return mbPathHilite; }

signals:
    void fileNameChanged(const QString& arFileName);

private slots:
    void slot_browse();
    void lineEditChanged();

private:
    void hilitePath(bool abExists);
    QString askForPath();

    QHBoxLayout* mpLayout;
    QLabel* mpLabel;
    QLineEdit* mpLineEdit;
    QPushButton* mpBrowse;
    QString msFileTypes;
    teMode meMode = eOpenFile;
    bool mbPathHilite = true;
};
