#pragma once

#include <QDialog>
#include <QList>
#include <QSet>
#include <QStringList>

#include <memory>

class QAbstractButton;
class QTreeWidgetItem;
class tcPluginManager;
class tcSettingsWidget;

namespace Ui
{
class tcSettingsDialog;
}

// The program's settings window: page titles on the left, the chosen page on
// the right. Every page reads the INI file when the dialog opens; only the
// pages the user edited (shown in italics) are written back, by OK or Apply.
// Leaving with unsaved edits asks whether to save them.
//
// The main window opens one per use, without parent and delete-on-close, and
// re-applies the settings when accepted() arrives (OK after something was
// saved, by this OK or an earlier Apply).
class tcSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    // Pages of the program, of the plugin manager and of each loaded plugin.
    tcSettingsDialog(bool abExpert, QWidget* apParent = nullptr);
    // As above with the given manager; without one only the program's pages.
    tcSettingsDialog(bool abExpert, QWidget* apParent, tcPluginManager* apPlugins);
    ~tcSettingsDialog() override;

    // Shows the page of that title; an empty or unknown title changes nothing.
    void setInitialPage(const QString& arTitle);

    QStringList pageTitles() const;
    QString currentPageTitle() const;
    tcSettingsWidget* page(const QString& arTitle) const;
    QStringList editedPageTitles() const;

public slots:
    // Writes the edited pages; true when there were any.
    bool save();

signals:
    // Edited pages were just written (OK, Apply, or Yes to the question on
    // leaving). accepted() still follows only OK.
    void saved();

protected:
    void closeEvent(QCloseEvent* apEvent) override;
    // Escape and the window's close go through the same question as Cancel.
    void reject() override;

private slots:
    void on_treeWidget_currentItemChanged(QTreeWidgetItem* apCurrent, QTreeWidgetItem* apPrevious);
    void on_buttonBox_clicked(QAbstractButton* apButton);
    void pageEdited(tcSettingsWidget* apPage);

private:
    void addPage(tcSettingsWidget* apPage);
    void addPluginPages(tcPluginManager* apPlugins);
    void refreshFonts();
    void selectPage(const QString& arTitle);
    bool mayClose();
    QList<tcSettingsWidget*> pages() const;

    std::unique_ptr<Ui::tcSettingsDialog> mpUi;
    bool mbExpert;
    QSet<tcSettingsWidget*> msEdited;
    bool mbSaved = false;
};
