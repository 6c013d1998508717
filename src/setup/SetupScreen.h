#pragma once

#include "forms/ZorviScreen.h"
#include "store/Options.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

class EntryField;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;
struct Configuration;
struct SetupFields;

// The setup screen, where every value of Configur.dat is edited. The
// operator moves between fields with Tab or the mouse; Exit & Save stores
// the values and is the only way back.
class SetupScreen : public ZorviScreen {
    Q_OBJECT
  public:
    SetupScreen(ProgramState& state, Services& services, QWidget* parent = nullptr);

  protected:
    void FormActivate() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The controls, each named by its role, which is its object name too.
    QFrame* mainPanel;
    QFrame* salesPersonPanel;
    QFrame* basicPanel;
    QFrame* docketPanel;
    QFrame* languagePanel;
    QFrame* optionsPanel;
    QPushButton* basicButton;
    QPushButton* salesPersonButton;
    QPushButton* docketButton;
    QPushButton* languageButton;
    QPushButton* optionsButton;
    QPushButton* printDocketButton;
    QPushButton* saveExitButton;
    QPlainTextEdit* helpBox;

    // Sales persons at index 0..4 (salesPersonCode1.., salesPersonName1..);
    // docket rows at index 1..9 (docketCode1.., docketText1..,
    // docketRelease1..; rows 4-6 have no text field).
    std::array<EntryField*, 5> salesPersonCodeFields{};
    std::array<EntryField*, 5> salesPersonNameFields{};
    std::array<EntryField*, 10> docketCodeFields{};
    std::array<EntryField*, 10> docketTextFields{};
    std::array<EntryField*, 10> docketReleaseFields{};
    // In the order of LanguageFields (cashtned first).
    std::array<EntryField*, 13> docketWordFields{};
    EntryField* taxField;
    QLabel* taxLabel = nullptr; // says whether prices hold the tax or get it added
    EntryField* lowDiscountField;
    EntryField* mediumDiscountField;
    EntryField* highDiscountField;
    EntryField* drawerPortField;
    EntryField* displayPortField;
    EntryField* displayWidthField;
    EntryField* denominationField;
    EntryField* roundingField;
    EntryField* printWidthField;
    EntryField* pushOutField;
    EntryField* lowStockField;
    // One field a known option (option:<key>), in the order of OptionKeys().
    std::vector<EntryField*> optionFields;

    QFrame* makePanel(int left, int top, int width, int height, const char* title);
    EntryField* makeField(QWidget* panel, const char* name, int left, int top, int width,
                          int maxLength, int helpLine);
    void buildButtons();
    void buildSalesPersonPanel();
    void buildBasicPanel();
    void buildDocketPanel();
    void buildLanguagePanel();
    void buildOptionsPanel();
    void showPanel(QFrame* panel, EntryField* first);
    void showHelp(int index);
    void fillFields();
    void showTaxBasis();
    SetupFields readFields() const;
    std::string configurationPath();
    QFrame* panelOf(const QWidget* field) const;
    // Tells the operator what a field takes and selects it for correction,
    // its panel shown.
    void refuseField(EntryField* field, const std::string& message);
    // The options as the fields hold them; none when one cannot be saved
    // (the operator is told which and why, and its field is selected).
    std::optional<Options> takeOverOptions();
    // The owner PIN's field, empty however the PIN stands, and what it says
    // when empty.
    void showPinState();
    // The hash the owner PIN's field leaves: the current one when the field
    // is empty, none for "none", a new one for a new PIN typed twice; nothing
    // when the field must be corrected (the operator is told).
    std::optional<std::string> takeOverPin(EntryField* field, const std::string& current);
    // Asks, for each sales person whose code changes while Spersons.dat holds
    // figures under the old one, whether they go along; the new content of
    // Spersons.dat when any do.
    std::optional<std::string> askFigureMoves(const Configuration& next);
    // False when nothing was saved because a field must be corrected first.
    bool takeOverAndSave();

    // The options as read when the screen was opened, with the file's
    // comments and keys this program does not know.
    OptionsRead m_options;
    // The panel's pages, when the options do not fit on one.
    std::vector<QWidget*> m_optionPages;

    void butsavExClick();
    void butprndocketClick();
};
