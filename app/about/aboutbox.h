#pragma once

#include <QMessageBox>
#include <QString>

// The program's about box. Besides the version it names the open camera and
// the pixel formats the program converts; its "Environment" button shows the
// process environment in a report window.
class tcAboutBox : public QMessageBox
{
    Q_OBJECT

public:
    // An empty camera description stands for no open device.
    tcAboutBox(QWidget* apParent, const QString& arCamera);

    static QString aboutText(const QString& arCamera);
    static QStringList pixelFormatNames();

private:
    void showEnvironment();
};
