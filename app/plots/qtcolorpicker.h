#pragma once

#include <QColor>
#include <QList>
#include <QPair>
#include <QPushButton>
#include <QString>

class QFrame;

// A push button that shows its current colour and, when pressed, a popup
// grid of colours to choose from. With the colour dialog enabled the grid
// ends in "More...", which opens the system colour dialog; a colour picked
// there joins the grid as "Custom".
class QtColorPicker : public QPushButton
{
    Q_OBJECT

public:
    explicit QtColorPicker(QWidget* apParent = nullptr);
    ~QtColorPicker() override;

    // The 17 named standard colours, from "Black" to "Light gray".
    void setStandardColors();
    void insertColor(const QColor& arColor, const QString& arName);
    void setColorDialogEnabled(bool abEnabled);
    bool colorDialogEnabled() const { return mbDialogEnabled; }
    int colorCount() const { return msColors.size(); }
    QColor color(int anIndex) const;

    QColor currentColor() const { return mcCurrent; }

    // The popup while it is open (for keyboard users and tests), else null.
    QFrame* popup() const { return mpPopup; }

public slots:
    void setCurrentColor(const QColor& arColor);

signals:
    void colorChanged(const QColor& arColor);

private slots:
    void showPopup();
    void pickFromDialog();

private:
    void updateLook();
    static QIcon swatch(const QColor& arColor, int anSize);

    QList<QPair<QColor, QString>> msColors;
    QColor mcCurrent = Qt::black;
    bool mbDialogEnabled = false;
    QFrame* mpPopup = nullptr;
};
