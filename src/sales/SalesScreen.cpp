// TForm4: the sales screen.
#include "sales/SalesScreen.h"

#include "devices/Docket.h"
#include "devices/SerialDevices.h"
#include "forms/EntryField.h"
#include "forms/FieldColours.h"
#include "forms/ScreenParts.h"
#include "platform/Cp1252.h"
#include "platform/Services.h"
#include "pricelist/PriceList.h"
#include "sales/SaleArithmetic.h"
#include "sales/TillSteps.h"
#include "store/NumberEntry.h"
#include "store/ProgramState.h"
#include "store/TextForms.h"
#include "takings/TakingsRecord.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

const QColor Black(Qt::black);
const QColor Red(Qt::red);
const QColor Green(0, 128, 0);

// Amount fields take digits, the point and Backspace; "-" and "$" never.
bool isAmountKey(char key) {
    return (key >= '0' && key <= '9') || key == '.' || key == '\b';
}

bool isCodeKey(char key) {
    return key == '/' || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || key == '\b';
}

char upper(char key) {
    return key >= 'a' && key <= 'z' ? static_cast<char>(key - 32) : key;
}

} // namespace

TForm4::TForm4(ProgramState& state, Services& services, QWidget* parent)
    : ZorviScreen(state, services, parent) {
    setWindowTitle("SALES SCREEN             Conduct Sales, new Article Sales or Returns and "
                   "Corrections.");
    setClientSize(634, 425);
    buildControls();
    wireHandlers();
}

void TForm4::buildControls() {
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
    Memo2 = ScreenParts::journal(this);

    Butreturn = new QPushButton("&Returns and Corrections", this);
    Butreturn->setGeometry(16, 380, 200, 28);
    Butexit = new QPushButton("E&xit", this);
    Butexit->setGeometry(272, 380, 90, 28);
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

void TForm4::wireHandlers() {
    edsp->onEnter = [this] { edspEnter(); };
    edsp->onKeyPress = [this](char& k) { edspKeyPress(k); };
    edsp->onExit = [this] { edspExit(); };
    edcode->onEnter = [this] { edcodeEnter(); };
    edcode->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edcodeKeyDown(k, m); };
    edcode->onKeyPress = [this](char& k) { edcodeKeyPress(k); };
    edcode->onExit = [this] { edcodeExit(); };
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

QString TForm4::currency(double amount) const {
    return fromCp1252(CurrencyText(amount, m_services.regional.formats()));
}

void TForm4::normalCaptions() {
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

void TForm4::refundCaptions() {
    ScreenParts::setCaption(Label6, "Return Total", Red);
    ScreenParts::setCaption(Label7, "Paid by Cash-cheQue-crediT", Red);
    ScreenParts::setCaption(Label8, "Pay to Customer", Red);
    ScreenParts::setCaption(Label9, "Total Sum paid", Red);
    ScreenParts::setCaption(Label10, "", Red);
}

void TForm4::setReturnMode(bool on) {
    m_state.sale.ReturnMode = on;
    if (on) {
        ScreenParts::setCaption(Label3, "Return Article code", Red);
        ScreenParts::setCaption(Label4, "Return Quantity", Red);
        Label12->show();
        return;
    }
    ScreenParts::setCaption(Label4, "Sales Quantity", Black);
    ScreenParts::setCaption(Label3,
                            m_state.sale.NewArticleMode ? "New Article code" : "Article Code or  F",
                            m_state.sale.NewArticleMode ? Green : Black);
    Label12->hide();
}

void TForm4::setNewArticleMode(bool on) {
    m_state.sale.NewArticleMode = on;
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
                            m_state.sale.ReturnMode ? "Return Article code" : "Article Code or  F",
                            m_state.sale.ReturnMode ? Red : Black);
    edreceived->clear();
    edchange->clear();
    Label11->hide();
}

void TForm4::leaveModes() {
    if (m_state.sale.ReturnMode) setReturnMode(false);
    if (m_state.sale.NewArticleMode) setNewArticleMode(false);
}

TextFile& TForm4::results() {
    return takingsForWriting(m_state.files);
}

void TForm4::flushResults() {
    flushTakings(m_state.files);
}

void TForm4::closeResults() {
    closeTakings(m_state.files);
}

void TForm4::showOnDisplay() {
    showSaleOnDisplay(m_state, m_services);
}

void TForm4::docketStep(const std::function<void()>& step) {
    runDocketStep(m_state, m_services.dialogs, step);
}

// ---------------------------------------------------------------- activation

void TForm4::FormActivate() {
    m_help.load(m_state.files.compose("hlpf.4"));
    RegionalFormats formats = m_services.regional.formats();
    std::string date = ShortDateText(m_services.clock.now(), formats);
    labdate->setText(fromCp1252(date));
    m_state.DateText = date.substr(0, 8);
    Timer1Timer();
    Timer1->start();
    m_state.sale.SaleHasLines = false;
    m_state.sale.InExpenseScreen = false;
    moveTo(edsp);
}

void TForm4::Timer1Timer() {
    m_state.ClockText =
        UpdateClockText(LongTimeText(m_services.clock.now(), m_services.regional.formats()));
    labtime->setText(fromCp1252(m_state.ClockText));
}

void TForm4::leaveToMain() {
    closeResults();
    Timer1->stop();
    ZorviScreen::leaveToMain();
}

void TForm4::ButexitClick() {
    leaveToMain();
}

// ---------------------------------------------------------------- sales person

void TForm4::edspEnter() {
    prompt(Label1, 1);
    Butexit->setEnabled(true);
    normalCaptions();
    edcode->clear();
    edsp->clear();
    FieldColours::paint(edsp, FieldColours::Entry);
}

void TForm4::edspKeyPress(char& key) {
    const char typed = key;
    const std::string code(1, upper(key));
    const auto& codes = m_state.config.SalesPersonCode;
    if (std::find(codes.begin(), codes.end(), code) != codes.end()) {
        acceptSalesPerson(m_state, code, m_services.dialogs);
        moveTo(edcode);
        return;
    }
    key = 0;
    if (typed != '\x1b') m_services.dialogs.message(code + m_help.line(2));
    if (typed == '\x1b' || typed == 'X') leaveToMain();
}

void TForm4::edspExit() {
    FieldColours::paint(edsp, FieldColours::Left);
    BeginNewSale(m_state.sale, m_state.article);
    for (EntryField* f : {edtotal, edCQT, Edpaid, edreceived, edchange, edcode, edYN})
        f->clear();
    Memo2->clear();
}

// ---------------------------------------------------------------- code

void TForm4::edcodeEnter() {
    leaveModes();
    normalCaptions();
    edcode->clear();
    FieldColours::paint(edcode, FieldColours::Entry);
    prompt(Label1, 3);
    m_state.sale.EnteredCode.clear();
    Butreturn->setEnabled(true);
    butnew->setEnabled(true);
    Butexit->setEnabled(false);
    QPalette p = edquant->palette();
    p.setColor(QPalette::Text, Black);
    edquant->setPalette(p);
}

void TForm4::edcodeKeyDown(int& key, Qt::KeyboardModifiers modifiers) {
    if (modifiers == Qt::ShiftModifier) {
        key = 0;
        helpMessage(15);
        return;
    }
    if (key == Qt::Key_Delete) {
        edcode->clear();
        m_state.sale.EnteredCode.clear();
        key = 0;
    }
}

void TForm4::edcodeKeyPress(char& key) {
    SaleState& sale = m_state.sale;
    sale.CodeComplete = false;
    key = upper(key);
    if (key == '\r') {
        if (!sale.EnteredCode.empty())
            sale.CodeComplete = true;
        else
            helpMessage(16);
    }
    if (key == '\x1b' && !sale.SaleHasLines) {
        leaveModes();
        edcode->clear();
        key = 0;
        moveTo(edsp);
        return;
    }
    if (!isCodeKey(key)) {
        key = 0;
    } else if (key == '\b') {
        if (!sale.EnteredCode.empty()) sale.EnteredCode.pop_back();
    } else if (sale.EnteredCode.size() < 13) {
        sale.EnteredCode.push_back(key);
    }
    if (sale.EnteredCode.size() == 13 && key != 0 && key != '\b') {
        sale.CodeComplete = true;
        m_codeCompletedAt.start();
        m_scanSuffixPending = true;
    }
    if (!sale.CodeComplete) return;

    key = 0;
    sale.EnteredCode = PadRight(sale.EnteredCode, 13);
    const bool isF = sale.EnteredCode == "F            ";
    if (isF) setNewArticleMode(false);
    edcode->setText(fromCp1252(sale.EnteredCode).trimmed());
    if (sale.NewArticleMode) {
        moveTo(edarticle);
    } else if (isF) {
        endArticleList();
    } else {
        searchArticle();
    }
}

void TForm4::endArticleList() {
    SaleState& sale = m_state.sale;
    if (!sale.SaleHasLines) {
        helpMessage(20);
        edcode->clear();
        sale.EnteredCode.clear();
        return;
    }
    leaveModes();
    std::vector<std::string> lines =
        ComputeTotals(m_state.config, m_services.regional.formats(), sale, m_services.dialogs);
    for (const std::string& line : lines)
        Memo2->appendPlainText(fromCp1252(line));
    edtotal->setText(currency(sale.SaleTotal));
    showOnDisplay();
    moveTo(edCQT);
}

void TForm4::searchArticle() {
    SaleState& sale = m_state.sale;
    CurrentArticle& article = m_state.article;
    DataFiles& files = m_state.files;
    article.ArticleCode.clear();
    if (files.OpenPriceWorkForRead()) {
        FindArticle(files.priceWork, sale.EnteredCode, article);
        files.priceWork.close();
    }
    bool found = article.ArticleCode == sale.EnteredCode;
    if (found && article.ArticleMarker == '$') {
        helpMessage(14);
        found = false;
    }
    if (!found) {
        edarticle->setText(fromCp1252(m_help.line(19)));
        edcode->clear();
        sale.EnteredCode.clear();
        return;
    }
    edarticle->setText(
        fromCp1252(article.ArticleDescription +
                   PadLeft(CurrencyText(article.SalePrice, m_services.regional.formats()), 16)));
    moveTo(edquant);
}

void TForm4::edcodeExit() {
    FieldColours::paint(edcode, FieldColours::Left);
    edYN->clear();
    Butreturn->setEnabled(false);
    butnew->setEnabled(false);
}

void TForm4::ButreturnClick() {
    setReturnMode(!m_state.sale.ReturnMode);
    moveTo(edcode);
}

void TForm4::butnewClick() {
    setNewArticleMode(!m_state.sale.NewArticleMode);
    moveTo(edcode);
}

// ---------------------------------------------------------------- new article

void TForm4::edarticleEnter() {
    prompt(Label1, 11);
    edarticle->clear();
    FieldColours::paint(edarticle, FieldColours::NewArticle);
}

void TForm4::edarticleKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete) {
        edarticle->clear();
        key = 0;
    }
}

void TForm4::edarticleKeyPress(char& key) {
    std::string text = toCp1252(edarticle->text());
    if (key == '\x1b') {
        key = 0;
        setNewArticleMode(false);
        edarticle->clear();
        moveTo(edcode);
        return;
    }
    if (key != '\r' && text.size() < 26) return;
    key = 0;
    text = text.substr(0, 26);
    if (text.empty()) {
        helpMessage(17);
        return;
    }
    text[0] = upper(text[0]);
    text = PadRight(text, 26);
    edarticle->setText(fromCp1252(text));
    m_state.article.ArticleDescription = text;
    moveTo(edreceived);
}

void TForm4::edreceivedEnter() {
    edreceived->setReadOnly(false);
    FieldColours::paint(edreceived, FieldColours::NewArticle);
    edreceived->clear();
    prompt(Label1, 12);
}

void TForm4::edreceivedKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Escape) {
        edreceived->clear();
        moveTo(edarticle);
    } else if (key == Qt::Key_Delete) {
        edreceived->clear();
        key = 0;
    }
}

void TForm4::edreceivedKeyPress(char& key) {
    if (key != '\r') {
        if (!isAmountKey(key)) key = 0;
        return;
    }
    key = 0;
    AmountEntry entry = ParseNumber(toCp1252(edreceived->text()), m_services.dialogs);
    m_state.sale.ParsedAmount = entry.ParsedAmount;
    m_state.article.WholesalePrice = entry.ParsedAmount;
    edreceived->setText(fromCp1252(FixedText(entry.ParsedAmount)));
    if (entry.ValueError == 0) moveTo(edchange);
}

// ---------------------------------------------------------------- quantity

void TForm4::edquantEnter() {
    edquant->clear();
    FieldColours::paint(edquant, m_state.sale.NewArticleMode ? FieldColours::NewArticle
                                                             : FieldColours::Entry);
    edYN->clear();
    prompt(Label1, 5);
}

void TForm4::edquantKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete) {
        edquant->clear();
        key = 0;
    } else if (key == Qt::Key_Escape) {
        edquant->clear();
        if (m_state.sale.NewArticleMode) {
            edchange->clear();
            moveTo(edchange);
        } else {
            edarticle->clear();
            moveTo(edcode);
        }
    }
}

void TForm4::edquantKeyPress(char& key) {
    if (key != '\r') {
        m_scanSuffixPending = false;
        if (!isAmountKey(key)) key = 0;
        return;
    }
    key = 0;
    if (m_scanSuffixPending && m_codeCompletedAt.elapsed() < 50) {
        m_scanSuffixPending = false;
        return;
    }
    m_scanSuffixPending = false;
    QuantityEntry entry = ParseQuantity(toCp1252(edquant->text()));
    if (entry.ValueError != 0) {
        helpMessage(18);
        return;
    }
    m_state.sale.Quantity = entry.Quantity;
    checkLowStock();
    moveTo(edYN);
}

void TForm4::checkLowStock() {
    // A new article has no stock record; the last article's figures would mislead.
    if (!m_state.config.InventoryOn || m_state.sale.NewArticleMode) return;
    const CurrentArticle& a = m_state.article;
    long threshold = a.StockLevel * m_state.config.LowStockPercent / 100;
    if (a.StockOnHand < threshold)
        m_services.dialogs.message((m_state.sale.EnteredCode + " Low ").substr(0, 18) +
                                   std::to_string(a.StockOnHand));
}

// ---------------------------------------------------------------- confirmation

void TForm4::edYNEnter() {
    prompt(Label1, 7);
    edYN->clear();
    FieldColours::paint(edYN, FieldColours::Confirm);
}

void TForm4::edYNKeyPress(char& key) {
    const char k = upper(key);
    key = 0;
    const Configuration& c = m_state.config;
    switch (k) {
    case 'Y':
        confirmLine(0);
        break;
    case 'L':
        confirmLine(c.DiscountLow);
        break;
    case 'M':
        confirmLine(c.DiscountMed);
        break;
    case 'H':
        confirmLine(c.DiscountHigh);
        break;
    case 'N':
    case '\x1b':
        for (EntryField* f : {edYN, edquant, edcode, edarticle})
            f->clear();
        moveTo(edcode);
        break;
    default:
        break;
    }
}

void TForm4::confirmLine(double discountPercent) {
    // The line is computed on copies and recorded before the sale takes it,
    // so a record that cannot be written leaves the sale as it was and the
    // operator can confirm the line again.
    SaleState sale = m_state.sale;
    CurrentArticle article = m_state.article;
    sale.DiscountPercent = discountPercent;
    sale.SaleHasLines = true;
    LineResult line = ComputeLine(m_state.config, m_services.regional.formats(), article, sale);
    WriteResultsLine(results(), sale, article);
    flushResults();

    m_state.sale = sale;
    m_state.article = article;
    if (line.refused)
        helpMessage(18);
    else
        Memo2->appendPlainText(fromCp1252(line.journalLine));
    showOnDisplay();
    if (m_state.flags.DocketOpen) docketStep([this] { WriteDocketLine(m_state); });
    edarticle->clear();
    edquant->clear();
    moveTo(edcode);
}

void TForm4::edYNExit() {
    edcode->clear();
    edYN->clear();
    FieldColours::paint(edYN, FieldColours::Left);
    ScreenParts::setCaption(Label4, "Sales Quantity", Black);
    leaveModes();
    m_state.sale.PayCash = m_state.sale.PayCheque = m_state.sale.PayCredit = false;
}

// ---------------------------------------------------------------- payment

void TForm4::edCQTEnter() {
    edCQT->clear();
    FieldColours::paint(edCQT, FieldColours::Entry);
    prompt(Label1, 8);
    if (m_state.sale.SaleTotal < 0) refundCaptions();
}

void TForm4::edCQTKeyPress(char& key) {
    SaleState& sale = m_state.sale;
    const char k = upper(key);
    sale.PayCash = k == 'C';
    sale.PayCheque = k == 'Q';
    sale.PayCredit = k == 'T';
    if (sale.PayCash || sale.PayCheque || sale.PayCredit) {
        edCQT->setText(QString(QChar(k)));
        key = 0;
        moveTo(Edpaid);
        return;
    }
    key = 0;
}

void TForm4::EdpaidEnter() {
    FieldColours::paint(Edpaid, FieldColours::Entry);
    prompt(Label1, m_state.sale.SaleTotal < 0 ? 21 : 9);
}

void TForm4::EdpaidKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete) {
        Edpaid->clear();
        key = 0;
    } else if (key == Qt::Key_Escape) {
        Edpaid->clear();
        edCQT->clear();
        moveTo(edCQT);
    }
}

void TForm4::EdpaidKeyPress(char& key) {
    if (key != '\r') {
        if (!isAmountKey(key)) key = 0;
        return;
    }
    key = 0;
    SaleState& sale = m_state.sale;
    AmountEntry entry = ParseNumber(toCp1252(Edpaid->text()), m_services.dialogs);
    sale.ParsedAmount = entry.ParsedAmount;
    Edpaid->setText(currency(sale.ParsedAmount));
    if (sale.SaleTotal < 0) {
        sale.ParsedAmount = -sale.ParsedAmount;
        if (sale.ParsedAmount != sale.SaleTotal) {
            Edpaid->clear();
            sale.ParsedAmount = 0;
            helpMessage(22);
            return;
        }
    }
    PaymentResult payment =
        TakePayment(sale, sale.ParsedAmount, m_state.config, m_services.regional.formats());
    edreceived->setText(currency(sale.Received));
    if (!payment.covered) {
        edarticle->setText("  Payment is short");
        QPalette p = edarticle->palette();
        p.setColor(QPalette::Text, Red);
        edarticle->setPalette(p);
        ScreenParts::setCaption(Label4, "  Balance to pay", Red);
        edquant->setText(currency(sale.Balance));
        FieldColours::paint(Edpaid, FieldColours::Left);
        Edpaid->clear();
        edCQT->clear();
        moveTo(edCQT);
        return;
    }
    saleCovered();
}

void TForm4::saleCovered() {
    edarticle->clear();
    QPalette p = edarticle->palette();
    p.setColor(QPalette::Text, Black);
    edarticle->setPalette(p);
    edquant->clear();
    ScreenParts::setCaption(Label4, "Sales Quantity", Black);
    edchange->setText(currency(m_state.sale.ChangeDue));
    if (m_state.flags.DrawerAvailable)
        OpenCashDrawer(m_state, m_services.ports, m_services.dialogs);
    showOnDisplay();
    if (m_state.flags.DocketOpen) completeDocket(m_state, m_services);
    moveTo(edchange);
}

void TForm4::edchangeEnter() {
    if (m_state.sale.NewArticleMode) {
        edchange->setReadOnly(false);
        FieldColours::paint(edchange, FieldColours::NewArticle);
        prompt(Label1, 13);
        return;
    }
    FieldColours::paint(edchange, FieldColours::Left);
    prompt(Label1, 10);
}

void TForm4::edchangeKeyDown(int& key, Qt::KeyboardModifiers) {
    if (!m_state.sale.NewArticleMode) return;
    if (key == Qt::Key_Escape) {
        edchange->clear();
        moveTo(edreceived);
    } else if (key == Qt::Key_Delete) {
        edchange->clear();
        key = 0;
    }
}

void TForm4::edchangeKeyPress(char& key) {
    if (key != '\r') {
        if (!isAmountKey(key) || !m_state.sale.NewArticleMode) key = 0;
        return;
    }
    key = 0;
    if (m_state.sale.NewArticleMode) {
        AmountEntry entry = ParseNumber(toCp1252(edchange->text()), m_services.dialogs);
        m_state.sale.ParsedAmount = entry.ParsedAmount;
        m_state.article.SalePrice = entry.ParsedAmount;
        edchange->setText(fromCp1252(FixedText(entry.ParsedAmount)));
        if (entry.ValueError == 0) moveTo(edquant);
        return;
    }
    // The day takes the sale only once its record is safely written.
    SaleState sale = m_state.sale;
    DayTotals day = m_state.day;
    EndSale(sale, day);
    Timer1Timer();
    WriteResultsTotal(results(), sale, m_state.ClockText);
    flushResults();
    m_state.sale = sale;
    m_state.day = day;
    closeResults();
    moveTo(edsp);
}
