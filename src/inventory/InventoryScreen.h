#pragma once

#include "forms/CodeField.h"
#include "forms/ZorviScreen.h"
#include "inventory/InventoryFile.h"
#include "pricelist/CurrentArticle.h"

#include <QElapsedTimer>

class EntryField;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The inventory update screen, on which stock received or lost is
// added to or deducted from single articles.
class InventoryScreen : public ZorviScreen {
    Q_OBJECT
  public:
    InventoryScreen(ProgramState& state, Services& services, QWidget* parent = nullptr);

    // Every way out (Esc, Exit, the close button) applies the journal first.
    void leaveToMain() override;

  protected:
    void FormActivate() override;

  private:
    // The controls, each named by its role, which is its object name too.
    QLabel* codeLabel;
    QLabel* quantityLabel;
    QLabel* addDeductLabel;
    QLabel* confirmLabel;
    QLabel* headerLabel;
    QLabel* newHeaderLabel;
    QLabel* oldLineLabel;
    QLabel* newLineLabel;
    // The found article's description from the price list, over its line.
    QLabel* descriptionLabel;
    EntryField* codeField;
    EntryField* quantityField;
    EntryField* addDeductField;
    EntryField* confirmField;
    QPlainTextEdit* helpBox;
    QPushButton* exitButton;

    void buildControls();
    void wireHandlers();
    void showHelp(size_t index);

    void EdcodeEnter();
    void EdcodeKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void EdcodeKeyPress(char& key);
    void EdcodeExit();
    void searchCode();
    void showDescription();
    void EdqtyEnter();
    void EdqtyKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void EdqtyKeyPress(char& key);
    bool refuseSecondDecimal(const std::string& text);
    void EdaddEnter();
    void EdaddKeyPress(char& key);
    void EdaddExit();
    void EdynEnter();
    void EdynKeyPress(char& key);
    void EdynExit();
    void butexitClick();

    // The code and the quantity being entered, and the article found.
    std::string m_enteredCode;
    double m_quantity = 0;
    CurrentArticle m_article;
    CodeField m_code;
    InventoryLine m_line; // the line found for the code
    bool m_firstEntry = true;
    // A scanner may end a code with Enter after its 13th character, which
    // already completed it; that Enter must not reach the quantity.
    QElapsedTimer m_codeScannedAt;
    bool m_scanSuffixPending = false;
};
