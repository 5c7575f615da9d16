#include "splashscreen.h"

#include <QPainter>

tcSplashScreen::tcSplashScreen(const QPixmap& arPixmap, const QString& arTitle)
    : QSplashScreen(arPixmap), msTitle(arTitle)
{
    QPalette lcPalette = palette();
    lcPalette.setBrush(QPalette::WindowText, QBrush(Qt::white, Qt::SolidPattern));
    setPalette(lcPalette);
}

void tcSplashScreen::drawContents(QPainter* apPainter)
{
    QSplashScreen::drawContents(apPainter);
    apPainter->drawText(10, height() - 9, msTitle);
}
