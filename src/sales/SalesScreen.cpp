// The sales screen: its layout, activation and the sales person. The article
// lines are in SalesArticlesScreen.cpp and the payment in SalesPaymentScreen.cpp.
#include "sales/SalesScreen.h"

#include "forms/EntryField.h"
#include "forms/EntryRules.h"
#include "forms/FieldColours.h"
#include "forms/ScreenParts.h"
#include "forms/ShowNotices.h"
#include "platform/Cp1252.h"
#include "platform/Services.h"
#include "store/AmountText.h"
#include "store/DateTimeText.h"
#include "store/ProgramState.h"
#include "till/Till.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

const QColor Black(Qt::black);
const QColor Red(Qt::red);
const QColor Green(0, 128, 0);

} // namespace

SalesScreen::SalesScreen(ProgramState& state, Services& services, Till& till, QWidget* parent)
    : ZorviScreen(state, services, parent), m_till(till),
      m_code(codeField, till.sale().EnteredCode, m_help, services.dialogs, {true, 15, 16}) {
    // Seven blanks, not the thirteen of old: with thirteen the title bar of a
    // 640 x 480 display cut the title short under the window managers tried.
    setWindowTitle("SALES SCREEN       Conduct Sales, new Article Sales or Returns and "
                   "Corrections.");
    setClientSize(634, 425);
    buildControls();
    wireHandlers();
    nameRoles({{promptLabel, "promptLabel"},
               {bigCaptionLabel, "bigCaptionLabel"},
               {bigFigureLabel, "bigFigureLabel"},
               {salesPersonLabel, "salesPersonLabel"},
               {codeLabel, "codeLabel"},
               {quantityLabel, "quantityLabel"},
               {confirmLabel, "confirmLabel"},
               {totalLabel, "totalLabel"},
               {tenderLabel, "tenderLabel"},
               {paidLabel, "paidLabel"},
               {receivedLabel, "receivedLabel"},
               {changeLabel, "changeLabel"},
               {newArticleBanner, "newArticleBanner"},
               {returnBanner, "returnBanner"},
               {dateLabel, "dateLabel"},
               {timeLabel, "timeLabel"},
               {salesPersonField, "salesPersonField"},
               {codeField, "codeField"},
               {articleField, "articleField"},
               {quantityField, "quantityField"},
               {confirmField, "confirmField"},
               {totalField, "totalField"},
               {tenderField, "tenderField"},
               {paidField, "paidField"},
               {receivedField, "receivedField"},
               {changeField, "changeField"},
               {journalBox, "journalBox"},
               {returnButton, "returnButton"},
               {newArticleButton, "newArticleButton"},
               {exitButton, "exitButton"},
               {clockTimer, "clockTimer"}});
}

void SalesScreen::buildControls() {
    dateLabel = new QLabel(this);
    dateLabel->setGeometry(16, 6, 120, 20);
    dateLabel->setFont(ScreenParts::arial(15));
    timeLabel = new QLabel(this);
    timeLabel->setGeometry(520, 6, 98, 20);
    timeLabel->setFont(ScreenParts::arial(15));
    timeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    salesPersonField = addField(salesPersonLabel, "Sales Person Code", 32, 12, 40, 2);
    codeField = addField(codeLabel, "Article Code or  F", 62, 12, 150, 13);
    QLabel* none = nullptr;
    articleField = addField(none, nullptr, 90, 12, 257, 0);
    articleField->move(12, 90);
    articleField->setAccessibleName("Article description");
    articleField->setFont(ScreenParts::arial(13));
    quantityField = addField(quantityLabel, "Sales Quantity", 118, 12, 90, 7);
    confirmField = addField(confirmLabel, "Is this correct  Y (L-M-H) or N", 148, 12, 40, 2);
    totalField = addField(totalLabel, "Sales Total", 32, 352, 96, 10);
    tenderField = addField(tenderLabel, "Paid by Cash-cheQue-crediT", 62, 352, 40, 0);
    paidField = addField(paidLabel, "Customer Paid", 92, 352, 96, 10);
    receivedField = addField(receivedLabel, "Total Sum received", 122, 352, 96, 10);
    changeField = addField(changeLabel, "Change due", 152, 352, 96, 10);
    for (EntryField* f : {salesPersonField, codeField, confirmField, tenderField})
        f->setUpperCase(true);
    for (EntryField* f : {totalField, receivedField, changeField})
        f->setReadOnly(true);

    newArticleBanner = new QLabel("New Article sale", this);
    newArticleBanner->setGeometry(290, 6, 200, 20);
    newArticleBanner->setFont(ScreenParts::arial(15, true));
    returnBanner = new QLabel("Returns & corrections", this);
    returnBanner->setGeometry(120, 6, 170, 20);
    returnBanner->setFont(ScreenParts::arial(15, true));
    ScreenParts::setCaption(newArticleBanner, newArticleBanner->text(), Green);
    ScreenParts::setCaption(returnBanner, returnBanner->text(), Red);
    newArticleBanner->hide();
    returnBanner->hide();

    promptLabel = ScreenParts::promptLine(this, Qt::yellow, ScreenParts::arial(13));
    // The sale's figure in large type stands in a band between the prompt
    // line and the journal, which gives up the room for it.
    bigCaptionLabel = new QLabel(this);
    bigCaptionLabel->setGeometry(40, 206, 260, 44);
    bigCaptionLabel->setFont(ScreenParts::arial(17, true));
    bigCaptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    bigFigureLabel = new QLabel(this);
    bigFigureLabel->setGeometry(300, 206, 293, 44);
    bigFigureLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    journalBox = ScreenParts::journal(this);
    journalBox->setGeometry(36, 252, 561, 122);

    returnButton = new QPushButton("&Returns and Corrections", this);
    returnButton->setGeometry(16, 380, 200, 28);
    exitButton = new QPushButton("E&xit", this);
    exitButton->setGeometry(272, 380, 90, 28);
    setExitButton(exitButton);
    newArticleButton = new QPushButton("&New Articles not in Pricelist", this);
    newArticleButton->setGeometry(402, 380, 216, 28);
    for (QPushButton* b : {returnButton, newArticleButton, exitButton}) {
        b->setFocusPolicy(Qt::ClickFocus);
        b->setAutoDefault(false);
    }
    returnButton->setEnabled(false);
    newArticleButton->setEnabled(false);

    clockTimer = new QTimer(this);
    clockTimer->setInterval(1000);
}

void SalesScreen::wireHandlers() {
    salesPersonField->onEnter = [this] { edspEnter(); };
    salesPersonField->onKeyPress = [this](char& k) { edspKeyPress(k); };
    salesPersonField->onExit = [this] { edspExit(); };
    codeField->onEnter = [this] { edcodeEnter(); };
    codeField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edcodeKeyDown(k, m); };
    codeField->onKeyPress = [this](char& k) { edcodeKeyPress(k); };
    codeField->onExit = [this] { edcodeExit(); };
    m_code.mayStepBack = [this] { return !m_till.sale().SaleHasLines; };
    m_code.stepBack = [this] {
        leaveModes();
        moveTo(salesPersonField);
    };
    m_code.complete = [this](bool byLength) { codeComplete(byLength); };
    m_code.showNote = [this](const std::string& text) { promptLabel->setText(fromCp1252(text)); };
    m_code.showWarning = [this](const std::string& text) {
        promptLabel->setText("<font color=\"red\">" + fromCp1252(text).toHtmlEscaped() + "</font>");
    };
    m_code.clearWarning = [this] { prompt(promptLabel, 3); };
    quantityField->onEnter = [this] { edquantEnter(); };
    quantityField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edquantKeyDown(k, m); };
    quantityField->onKeyPress = [this](char& k) { edquantKeyPress(k); };
    quantityField->whiteWhenLeft();
    confirmField->onEnter = [this] { edYNEnter(); };
    confirmField->onKeyPress = [this](char& k) { edYNKeyPress(k); };
    confirmField->onExit = [this] { edYNExit(); };
    tenderField->onEnter = [this] { edCQTEnter(); };
    tenderField->onKeyPress = [this](char& k) { edCQTKeyPress(k); };
    tenderField->whiteWhenLeft();
    paidField->onEnter = [this] { EdpaidEnter(); };
    paidField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { EdpaidKeyDown(k, m); };
    paidField->onKeyPress = [this](char& k) { EdpaidKeyPress(k); };
    paidField->whiteWhenLeft();
    changeField->onEnter = [this] { edchangeEnter(); };
    changeField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edchangeKeyDown(k, m); };
    changeField->onKeyPress = [this](char& k) { edchangeKeyPress(k); };
    changeField->onExit = [this] {
        FieldColours::paint(changeField, FieldColours::Left);
        changeField->setReadOnly(true);
    };
    articleField->onEnter = [this] { edarticleEnter(); };
    articleField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edarticleKeyDown(k, m); };
    articleField->onKeyPress = [this](char& k) { edarticleKeyPress(k); };
    articleField->whiteWhenLeft();
    receivedField->onEnter = [this] { edreceivedEnter(); };
    receivedField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edreceivedKeyDown(k, m); };
    receivedField->onKeyPress = [this](char& k) { edreceivedKeyPress(k); };
    receivedField->onExit = [this] {
        FieldColours::paint(receivedField, FieldColours::Left);
        receivedField->setReadOnly(true);
    };
    bindAccelerator(returnButton, [this] { ButreturnClick(); });
    bindAccelerator(newArticleButton, [this] { butnewClick(); });
    bindAccelerator(exitButton, [this] { ButexitClick(); });
    connect(clockTimer, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
}

// ---------------------------------------------------------------- helpers

QString SalesScreen::currency(double amount) const {
    return fromCp1252(CurrencyText(amount, m_services.regional.formats()));
}

void SalesScreen::showBigFigure(const char* caption, double amount) {
    bigCaptionLabel->setText(caption);
    const QString text = currency(amount);
    // Twice the height of the other figures, smaller only when a large
    // amount would not fit.
    QFont font = ScreenParts::arial(32, true);
    while (font.pixelSize() > 16 &&
           QFontMetrics(font).horizontalAdvance(text) > bigFigureLabel->width())
        font.setPixelSize(font.pixelSize() - 2);
    bigFigureLabel->setFont(font);
    bigFigureLabel->setText(text);
}

void SalesScreen::clearBigFigure() {
    bigCaptionLabel->clear();
    bigFigureLabel->clear();
}

void SalesScreen::normalCaptions() {
    ScreenParts::setCaption(codeLabel, "Article Code or  F", Black);
    ScreenParts::setCaption(quantityLabel, "Sales Quantity", Black);
    ScreenParts::setCaption(totalLabel, "Sales Total", Black);
    ScreenParts::setCaption(tenderLabel, "Paid by Cash-cheQue-crediT", Black);
    ScreenParts::setCaption(paidLabel, "Customer Paid", Black);
    ScreenParts::setCaption(receivedLabel, "Total Sum received", Black);
    ScreenParts::setCaption(changeLabel, "Change due", Black);
    newArticleBanner->hide();
    returnBanner->hide();
}

void SalesScreen::refundCaptions() {
    ScreenParts::setCaption(totalLabel, "Return Total", Red);
    ScreenParts::setCaption(tenderLabel, "Paid by Cash-cheQue-crediT", Red);
    ScreenParts::setCaption(paidLabel, "Pay to Customer", Red);
    ScreenParts::setCaption(receivedLabel, "Total Sum paid", Red);
    ScreenParts::setCaption(changeLabel, "", Red);
}

void SalesScreen::setReturnMode(bool on) {
    m_till.sale().ReturnMode = on;
    if (on) {
        ScreenParts::setCaption(codeLabel, "Return Article code", Red);
        ScreenParts::setCaption(quantityLabel, "Return Quantity", Red);
        returnBanner->show();
        return;
    }
    ScreenParts::setCaption(quantityLabel, "Sales Quantity", Black);
    ScreenParts::setCaption(
        codeLabel, m_till.sale().NewArticleMode ? "New Article code" : "Article Code or  F",
        m_till.sale().NewArticleMode ? Green : Black);
    returnBanner->hide();
}

void SalesScreen::setNewArticleMode(bool on) {
    m_till.sale().NewArticleMode = on;
    if (on) {
        FieldColours::paint(codeField, FieldColours::NewArticle);
        ScreenParts::setCaption(receivedLabel, "Wholesale Price", Black);
        ScreenParts::setCaption(changeLabel, "Sales Price", Black);
        ScreenParts::setCaption(codeLabel, "New Article code", Green);
        newArticleBanner->show();
        return;
    }
    if (activeControl() == codeField) FieldColours::paint(codeField, FieldColours::Entry);
    ScreenParts::setCaption(receivedLabel, "Total Sum received", Black);
    ScreenParts::setCaption(changeLabel, "Change due", Black);
    ScreenParts::setCaption(codeLabel,
                            m_till.sale().ReturnMode ? "Return Article code" : "Article Code or  F",
                            m_till.sale().ReturnMode ? Red : Black);
    receivedField->clear();
    changeField->clear();
    newArticleBanner->hide();
}

void SalesScreen::leaveModes() {
    if (m_till.sale().ReturnMode) setReturnMode(false);
    if (m_till.sale().NewArticleMode) setNewArticleMode(false);
}

void SalesScreen::show(const TillOutcome& outcome) {
    ShowNotices(m_services.dialogs, outcome.notices,
                [this](const std::string& note) { promptLabel->setText(fromCp1252(note)); });
    for (const std::string& line : outcome.journalLines)
        journalBox->appendPlainText(fromCp1252(line));
}

// ---------------------------------------------------------------- activation

void SalesScreen::FormActivate() {
    m_help.load(m_state.files.compose("hlpf.4"));
    m_code.useOptions(m_state.options);
    RegionalFormats formats = m_services.regional.formats();
    std::string date = ShortDateText(m_services.clock.now(), formats);
    dateLabel->setText(fromCp1252(date));
    m_till.setDocketDate(DocketDateText(m_services.clock.now(), formats));
    Timer1Timer();
    clockTimer->start();
    m_till.sale().SaleHasLines = false;
    m_till.sale().InExpenseScreen = false;
    moveTo(salesPersonField);
}

void SalesScreen::Timer1Timer() {
    m_clockText =
        UpdateClockText(LongTimeText(m_services.clock.now(), m_services.regional.formats()));
    timeLabel->setText(fromCp1252(m_clockText));
}

void SalesScreen::leaveToMain() {
    m_till.leave(false);
    clockTimer->stop();
    ZorviScreen::leaveToMain();
}

void SalesScreen::ButexitClick() {
    leaveToMain();
}

// ---------------------------------------------------------------- sales person

void SalesScreen::edspEnter() {
    prompt(promptLabel, 1);
    exitButton->setEnabled(true);
    normalCaptions();
    codeField->clear();
    salesPersonField->clear();
    FieldColours::paint(salesPersonField, FieldColours::Entry);
}

void SalesScreen::edspKeyPress(char& key) {
    SalesPersonKeyPress(
        key, m_state.config, m_help, m_services.dialogs,
        [this](const std::string& code) {
            TillOutcome begun = m_till.beginWith(code);
            show(begun);
            if (begun.done) moveTo(codeField);
        },
        [this] { leaveToMain(); });
}

void SalesScreen::edspExit() {
    FieldColours::paint(salesPersonField, FieldColours::Left);
    m_till.clearSale();
    for (EntryField* f :
         {totalField, tenderField, paidField, receivedField, changeField, codeField, confirmField})
        f->clear();
    journalBox->clear();
    clearBigFigure();
}
