#pragma once

#include <QSplashScreen>
#include <QString>

// The start-up splash: the picture, the current start-up message, and the
// program's name and version along the bottom edge.
class tcSplashScreen : public QSplashScreen
{
    Q_OBJECT

public:
    tcSplashScreen(const QPixmap& arPixmap, const QString& arTitle);

    QString title() const { return msTitle; }

protected:
    void drawContents(QPainter* apPainter) override;

private:
    QString msTitle;
};
