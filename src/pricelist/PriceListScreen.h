#pragma once

#include "forms/ZorviScreen.h"
#include "scanning/KeyBurst.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

class EntryField;
struct CheckedPriceLines;
class QColor;
class QDialog;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTextBlock;

// The price list editor, where the whole price list is edited as
// text, new lines are typed into an entry line, and Exit & Save writes the
// list, brings the inventory into line and checks for double codes.
class PriceListScreen : public ZorviScreen {
    Q_OBJECT
  public:
    PriceListScreen(ProgramState& state, Services& services, QWidget* parent = nullptr);

    bool lineValid() const { return m_lineValid; }
    bool modified() const { return m_modified; }
    bool doubleEntry() const { return m_doubleEntry; }

  protected:
    void FormActivate() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The controls, each named by its role, which is its object name too.
    QWidget* backPanel;
    QPlainTextEdit* listBox;
    EntryField* lineField;
    QPushButton* findButton;
    QPushButton* exitButton;
    QPushButton* importButton;
    QPlainTextEdit* helpBox;
    QPlainTextEdit* doubleCodesBox;
    QLabel* positionLabel;
    QLabel* dateLabel;
    QLabel* timeLabel;
    QDialog* findDialog;
    QLineEdit* findTextField; // the find dialog's search text
    // The entry form for a new line, one field per column group, in the
    // order of the line's fields.
    QWidget* entryForm;
    std::array<EntryField*, 6> formFields;

    void buildControls();
    void buildHeaders();
    void buildFindDialog();
    void buildEntryForm();
    void wireHandlers();

    void loadPriceList();
    void REdit1SelectionChange();
    bool REdit1KeyPress(int key);
    void Edit1Enter();
    void Edit1Change();
    void Edit1KeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void Edit1KeyPress(char& key);
    void Edit1Exit();
    void butfindClick();
    void FindDialog1Find();
    void butexitClick();
    // A supplier's CSV price list into the text, for review before Exit & Save.
    void butimportClick();
    void FindDialog1Close();

    void openForm();
    void closeForm();
    void formKeyPress(size_t field, char& key);
    void formNext(size_t field, int step);
    void addFormLine();
    // A checked line as the new last line of the list, shown with the caret.
    void appendLine(const QString& text);
    void placeHeaders();

    // A code typed by a scanner into the entry line or the form's code field.
    enum class Scan { Typed, Scanned, Refused };
    Scan takeScan(EntryField* field, char key);

    void showHelpForColumn(int column, bool entryLine);
    void showHelp(size_t index);
    void refreshTime();
    // The check of one line as typed; shows the fault message, after
    // `where`, when it fails.
    bool checkTyped(const QString& typed, QString& result, const std::string& where);
    void replaceLine(const QTextBlock& block, const QString& text, const QColor& colour);
    void showRefusal(const CheckedPriceLines& checked);
    std::vector<std::string> textLines() const;
    bool saveAndCheck();
    QProgressBar* startProgress();

    bool m_lineValid = false;
    bool m_modified = false;
    bool m_doubleEntry = false;
    bool m_loading = false;
    KeyBurst m_burst;
    bool m_warning = false; // a refused scan is shown until the next key
    QString m_noteBeforeWarning;
    std::vector<std::pair<QLabel*, int>> m_headers; // each with its first column, from 0
};
