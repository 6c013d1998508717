#pragma once

#include "forms/ZorviScreen.h"
#include "viewer/ViewedFile.h"

#include <optional>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

// The view and print screen. Shows a whole text file read-only in a
// fixed-pitch font, prints it and, in a mode the operator unlocks with a key
// sequence, lets it be edited and written back with its date and time kept.
class ViewerScreen : public ZorviScreen {
    Q_OBJECT
  public:
    ViewerScreen(ProgramState& state, Services& services, QWidget* parent = nullptr);

    // The main screen and its exit hint, hidden when this screen is left.
    void setMain(QWidget* main, QLabel* hint);
    void leaveToMain() override;

    void View1Click();
    void Print1Click();
    // The file shown as a one-page HTML report, saved where the operator chooses.
    void HtmlExportClick();
    void FontsClick();
    void ExitClick();

    bool editMode() const { return m_editMode; }

  protected:
    void FormActivate() override;
    bool followsSharedPosition() const override { return false; }
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The controls, each named by its role, which is its object name too.
    QMenuBar* fileMenuBar;
    QMenu* fileMenu;
    QAction* viewAction;
    QAction* printAction;
    QAction* htmlExportAction;
    QAction* fontAction;
    QAction* checkBooksAction;
    QAction* exitAction;
    QPlainTextEdit* textBox;
    QLabel* exitHintLabel;

    void buildControls();
    void fillDisplay();
    // Puts the chosen file into the text area; false when it does not exist.
    bool loadChosen(const std::string& path);
    void saveEdits();
    bool FormKeyDown(int key);

    QWidget* m_mainScreen = nullptr;
    QLabel* m_mainHint = nullptr;
    bool m_printFlag = false;
    bool m_armed = false;
    bool m_editMode = false;
    // The file loaded during this visit, the only one edit mode may write.
    std::optional<std::string> m_loadedPath;
    ViewedText m_loaded;
    std::string m_loadedBytes;
    FileStamp m_stamp;
};
