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
      m_code(edcode, till.sale().EnteredCode, m_help, services.dialogs, {true, 15, 16}) {
    // Seven blanks, not the thirteen of old: with thirteen the title bar of a
    // 640 x 480 display cut the title short under the window managers tried.
    setWindowTitle("SALES SCREEN       Conduct Sales, new Article Sales or Returns and "
                   "Corrections.");
    setClientSize(634, 425);
    buildControls();
    wireHandlers();
}

void SalesScreen::buildControls() {
    labdate = new QLabel(this);
    labdate->setGeometry(16, 6, 120, 20);
    labdate->setFont(ScreenParts::arial(15));
    labtime = new QLabel(this);
    labtime->setGeometry(520, 6, 98, 20);
    labtime->setFont(ScreenParts::arial(15));
    labtime->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    edsp = addField(Label2, "Sales Person Code", 32, 12, 40, 2);
    edcode = addField(Label3, "Article Code or  F", 62, 12, 150, 13);
    QLabel* none = nullptr;
    edarticle = addField(none, nullptr, 90, 12, 257, 0);
    edarticle->move(12, 90);
    edarticle->setAccessibleName("Article description");
    edarticle->setFont(ScreenParts::arial(13));
    edquant = addField(Label4, "Sales Quantity", 118, 12, 90, 7);
    edYN = addField(Label5, "Is this correct  Y (L-M-H) or N", 148, 12, 40, 2);
    edtotal = addField(Label6, "Sales Total", 32, 352, 96, 10);
    edCQT = addField(Label7, "Paid by Cash-cheQue-crediT", 62, 352, 40, 0);
    Edpaid = addField(Label8, "Customer Paid", 92, 352, 96, 10);
    edreceived = addField(Label9, "Total Sum received", 122, 352, 96, 10);
    edchange = addField(Label10, "Change due", 152, 352, 96, 10);
    for (EntryField* f : {edsp, edcode, edYN, edCQT})
        f->setUpperCase(true);
    for (EntryField* f : {edtotal, edreceived, edchange})
        f->setReadOnly(true);

    Label11 = new QLabel("New Article sale", this);
    Label11->setGeometry(290, 6, 200, 20);
    Label11->setFont(ScreenParts::arial(15, true));
    Label12 = new QLabel("Returns & corrections", this);
    Label12->setGeometry(120, 6, 170, 20);
    Label12->setFont(ScreenParts::arial(15, true));
    ScreenParts::setCaption(Label11, Label11->text(), Green);
    ScreenParts::setCaption(Label12, Label12->text(), Red);
    Label11->hide();
    Label12->hide();

    Label1 = ScreenParts::promptLine(this, Qt::yellow, ScreenParts::arial(13));
    // The sale's figure in large type stands in a band between the prompt
    // line and the journal, which gives up the room for it.
    labBigCaption = new QLabel(this);
    labBigCaption->setGeometry(40, 206, 260, 44);
    labBigCaption->setFont(ScreenParts::arial(17, true));
    labBigCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    labBigFigure = new QLabel(this);
    labBigFigure->setGeometry(300, 206, 293, 44);
    labBigFigure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Memo2 = ScreenParts::journal(this);
    Memo2->setGeometry(36, 252, 561, 122);

    Butreturn = new QPushButton("&Returns and Corrections", this);
    Butreturn->setGeometry(16, 380, 200, 28);
    Butexit = new QPushButton("E&xit", this);
    Butexit->setGeometry(272, 380, 90, 28);
    setExitButton(Butexit);
    butnew = new QPushButton("&New Articles not in Pricelist", this);
    butnew->setGeometry(402, 380, 216, 28);
    for (QPushButton* b : {Butreturn, butnew, Butexit}) {
        b->setFocusPolicy(Qt::ClickFocus);
        b->setAutoDefault(false);
    }
    Butreturn->setEnabled(false);
    butnew->setEnabled(false);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
}

void SalesScreen::wireHandlers() {
    edsp->onEnter = [this] { edspEnter(); };
    edsp->onKeyPress = [this](char& k) { edspKeyPress(k); };
    edsp->onExit = [this] { edspExit(); };
    edcode->onEnter = [this] { edcodeEnter(); };
    edcode->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edcodeKeyDown(k, m); };
    edcode->onKeyPress = [this](char& k) { edcodeKeyPress(k); };
    edcode->onExit = [this] { edcodeExit(); };
    m_code.mayStepBack = [this] { return !m_till.sale().SaleHasLines; };
    m_code.stepBack = [this] {
        leaveModes();
        moveTo(edsp);
    };
    m_code.complete = [this](bool byLength) { codeComplete(byLength); };
    m_code.showNote = [this](const std::string& text) { Label1->setText(fromCp1252(text)); };
    m_code.showWarning = [this](const std::string& text) {
        Label1->setText("<font color=\"red\">" + fromCp1252(text).toHtmlEscaped() + "</font>");
    };
    m_code.clearWarning = [this] { prompt(Label1, 3); };
    edquant->onEnter = [this] { edquantEnter(); };
    edquant->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edquantKeyDown(k, m); };
    edquant->onKeyPress = [this](char& k) { edquantKeyPress(k); };
    edquant->whiteWhenLeft();
    edYN->onEnter = [this] { edYNEnter(); };
    edYN->onKeyPress = [this](char& k) { edYNKeyPress(k); };
    edYN->onExit = [this] { edYNExit(); };
    edCQT->onEnter = [this] { edCQTEnter(); };
    edCQT->onKeyPress = [this](char& k) { edCQTKeyPress(k); };
    edCQT->whiteWhenLeft();
    Edpaid->onEnter = [this] { EdpaidEnter(); };
    Edpaid->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { EdpaidKeyDown(k, m); };
    Edpaid->onKeyPress = [this](char& k) { EdpaidKeyPress(k); };
    Edpaid->whiteWhenLeft();
    edchange->onEnter = [this] { edchangeEnter(); };
    edchange->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edchangeKeyDown(k, m); };
    edchange->onKeyPress = [this](char& k) { edchangeKeyPress(k); };
    edchange->onExit = [this] {
        FieldColours::paint(edchange, FieldColours::Left);
        edchange->setReadOnly(true);
    };
    edarticle->onEnter = [this] { edarticleEnter(); };
    edarticle->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edarticleKeyDown(k, m); };
    edarticle->onKeyPress = [this](char& k) { edarticleKeyPress(k); };
    edarticle->whiteWhenLeft();
    edreceived->onEnter = [this] { edreceivedEnter(); };
    edreceived->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edreceivedKeyDown(k, m); };
    edreceived->onKeyPress = [this](char& k) { edreceivedKeyPress(k); };
    edreceived->onExit = [this] {
        FieldColours::paint(edreceived, FieldColours::Left);
        edreceived->setReadOnly(true);
    };
    bindAccelerator(Butreturn, [this] { ButreturnClick(); });
    bindAccelerator(butnew, [this] { butnewClick(); });
    bindAccelerator(Butexit, [this] { ButexitClick(); });
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
}

// ---------------------------------------------------------------- helpers

QString SalesScreen::currency(double amount) const {
    return fromCp1252(CurrencyText(amount, m_services.regional.formats()));
}

void SalesScreen::showBigFigure(const char* caption, double amount) {
    labBigCaption->setText(caption);
    const QString text = currency(amount);
    // Twice the height of the other figures, smaller only when a large
    // amount would not fit.
    QFont font = ScreenParts::arial(32, true);
    while (font.pixelSize() > 16 &&
           QFontMetrics(font).horizontalAdvance(text) > labBigFigure->width())
        font.setPixelSize(font.pixelSize() - 2);
    labBigFigure->setFont(font);
    labBigFigure->setText(text);
}

void SalesScreen::clearBigFigure() {
    labBigCaption->clear();
    labBigFigure->clear();
}

void SalesScreen::normalCaptions() {
    ScreenParts::setCaption(Label3, "Article Code or  F", Black);
    ScreenParts::setCaption(Label4, "Sales Quantity", Black);
    ScreenParts::setCaption(Label6, "Sales Total", Black);
    ScreenParts::setCaption(Label7, "Paid by Cash-cheQue-crediT", Black);
    ScreenParts::setCaption(Label8, "Customer Paid", Black);
    ScreenParts::setCaption(Label9, "Total Sum received", Black);
    ScreenParts::setCaption(Label10, "Change due", Black);
    Label11->hide();
    Label12->hide();
}

void SalesScreen::refundCaptions() {
    ScreenParts::setCaption(Label6, "Return Total", Red);
    ScreenParts::setCaption(Label7, "Paid by Cash-cheQue-crediT", Red);
    ScreenParts::setCaption(Label8, "Pay to Customer", Red);
    ScreenParts::setCaption(Label9, "Total Sum paid", Red);
    ScreenParts::setCaption(Label10, "", Red);
}

void SalesScreen::setReturnMode(bool on) {
    m_till.sale().ReturnMode = on;
    if (on) {
        ScreenParts::setCaption(Label3, "Return Article code", Red);
        ScreenParts::setCaption(Label4, "Return Quantity", Red);
        Label12->show();
        return;
    }
    ScreenParts::setCaption(Label4, "Sales Quantity", Black);
    ScreenParts::setCaption(
        Label3, m_till.sale().NewArticleMode ? "New Article code" : "Article Code or  F",
        m_till.sale().NewArticleMode ? Green : Black);
    Label12->hide();
}

void SalesScreen::setNewArticleMode(bool on) {
    m_till.sale().NewArticleMode = on;
    if (on) {
        FieldColours::paint(edcode, FieldColours::NewArticle);
        ScreenParts::setCaption(Label9, "Wholesale Price", Black);
        ScreenParts::setCaption(Label10, "Sales Price", Black);
        ScreenParts::setCaption(Label3, "New Article code", Green);
        Label11->show();
        return;
    }
    if (activeControl() == edcode) FieldColours::paint(edcode, FieldColours::Entry);
    ScreenParts::setCaption(Label9, "Total Sum received", Black);
    ScreenParts::setCaption(Label10, "Change due", Black);
    ScreenParts::setCaption(Label3,
                            m_till.sale().ReturnMode ? "Return Article code" : "Article Code or  F",
                            m_till.sale().ReturnMode ? Red : Black);
    edreceived->clear();
    edchange->clear();
    Label11->hide();
}

void SalesScreen::leaveModes() {
    if (m_till.sale().ReturnMode) setReturnMode(false);
    if (m_till.sale().NewArticleMode) setNewArticleMode(false);
}

void SalesScreen::show(const TillOutcome& outcome) {
    ShowNotices(m_services.dialogs, outcome.notices,
                [this](const std::string& note) { Label1->setText(fromCp1252(note)); });
    for (const std::string& line : outcome.journalLines)
        Memo2->appendPlainText(fromCp1252(line));
}

// ---------------------------------------------------------------- activation

void SalesScreen::FormActivate() {
    m_help.load(m_state.files.compose("hlpf.4"));
    m_code.useOptions(m_state.options);
    RegionalFormats formats = m_services.regional.formats();
    std::string date = ShortDateText(m_services.clock.now(), formats);
    labdate->setText(fromCp1252(date));
    m_till.setDocketDate(DocketDateText(m_services.clock.now(), formats));
    Timer1Timer();
    Timer1->start();
    m_till.sale().SaleHasLines = false;
    m_till.sale().InExpenseScreen = false;
    moveTo(edsp);
}

void SalesScreen::Timer1Timer() {
    m_clockText =
        UpdateClockText(LongTimeText(m_services.clock.now(), m_services.regional.formats()));
    labtime->setText(fromCp1252(m_clockText));
}

void SalesScreen::leaveToMain() {
    m_till.leave(false);
    Timer1->stop();
    ZorviScreen::leaveToMain();
}

void SalesScreen::ButexitClick() {
    leaveToMain();
}

// ---------------------------------------------------------------- sales person

void SalesScreen::edspEnter() {
    prompt(Label1, 1);
    Butexit->setEnabled(true);
    normalCaptions();
    edcode->clear();
    edsp->clear();
    FieldColours::paint(edsp, FieldColours::Entry);
}

void SalesScreen::edspKeyPress(char& key) {
    SalesPersonKeyPress(
        key, m_state.config, m_help, m_services.dialogs,
        [this](const std::string& code) {
            TillOutcome begun = m_till.beginWith(code);
            show(begun);
            if (begun.done) moveTo(edcode);
        },
        [this] { leaveToMain(); });
}

void SalesScreen::edspExit() {
    FieldColours::paint(edsp, FieldColours::Left);
    m_till.clearSale();
    for (EntryField* f : {edtotal, edCQT, Edpaid, edreceived, edchange, edcode, edYN})
        f->clear();
    Memo2->clear();
    clearBigFigure();
}
