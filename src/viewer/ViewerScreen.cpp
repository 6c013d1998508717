// The view and print screen.
#include "viewer/ViewerScreen.h"

#include "reports/ExportCommand.h"
#include "store/AuditTrail.h"
#include "store/IoError.h"
#include "store/TextLines.h"

#include "forms/OwnerPinAsk.h"
#include "forms/ScreenParts.h"
#include "platform/Cp1252.h"
#include "platform/QtFontDialog.h"
#include "platform/Services.h"
#include "store/FileNames.h"
#include "store/ProgramState.h"
#include "takings/SealCheck.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>

namespace {

const char* const Welcome[] = {
    "  Press Alt-M  for the menu.",
    "  If your Balance.*  files are large, then use a Spread sheet program to print them.",
    "  Preset the spread sheet to 13 columns each 13 char. wide, plus 1 column 16 char. wide.    ",
};

std::string doesNotExist(const std::string& path) {
    return " The file " + path + "\r" + " does not exist.";
}

} // namespace

ViewerScreen::ViewerScreen(ProgramState& state, Services& services, QWidget* parent)
    : ZorviScreen(state, services, parent) {
    setWindowTitle("  VIEW & PRINT    ");
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setClientSize(628, 403);
    setFont(ScreenParts::arial(12));
    buildControls();
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    installEventFilter(this);
}

void ViewerScreen::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ViewPrintMenu = new QMenuBar(this);
    ViewPrintMenu->setNativeMenuBar(false);
    ViewnPrint = ViewPrintMenu->addMenu("  File &Menu   Press: Alt+M");
    View1 = ViewnPrint->addAction("&View file      Press:  V  (...)");
    Print1 = ViewnPrint->addAction("&Print file       Press:  P  (...)");
    HtmlExport = ViewnPrint->addAction("&HTML export   Press: H");
    Fonts = ViewnPrint->addAction("&Select font   Press: F   (...)");
    CheckBooks = ViewnPrint->addAction("&Check books   Press: C");
    ViewnPrint->addSeparator();
    Exit = ViewnPrint->addAction("E&xit              Press: x");
    layout->setMenuBar(ViewPrintMenu);
    // A key exit hid the text; opening the menu brings it back.
    connect(ViewnPrint, &QMenu::aboutToShow, this, [this] { RichEdit1->show(); });
    connect(View1, &QAction::triggered, this, [this] { guarded([this] { View1Click(); }); });
    connect(Print1, &QAction::triggered, this, [this] { guarded([this] { Print1Click(); }); });
    connect(HtmlExport, &QAction::triggered, this,
            [this] { guarded([this] { HtmlExportClick(); }); });
    connect(Fonts, &QAction::triggered, this, [this] { guarded([this] { FontsClick(); }); });
    // The seals of the takings checked, as zorvi-verify does, shown here.
    connect(CheckBooks, &QAction::triggered, this, [this] {
        guarded([this] {
            QStringList lines;
            for (const std::string& line : SealCheckReport(CheckSeals(m_state.files.DataDir())))
                lines << fromCp1252(line);
            RichEdit1->setPlainText(lines.join('\n'));
            RichEdit1->show();
        });
    });
    connect(Exit, &QAction::triggered, this, [this] { guarded([this] { ExitClick(); }); });

    RichEdit1 = new QPlainTextEdit(this);
    RichEdit1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    RichEdit1->setLineWidth(3);
    RichEdit1->setAccessibleName("Viewed file");
    RichEdit1->setFont(ScreenParts::lineDraw(11));
    RichEdit1->setReadOnly(true);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setStyleSheet("QPlainTextEdit { background: white; color: black; }");
    QStringList welcome;
    for (const char* line : Welcome)
        welcome << line;
    RichEdit1->setPlainText(welcome.join('\n'));
    layout->addWidget(RichEdit1, 1);

    Label1 = new QLabel("Press  Q or  X  or  ESC  to exit to the main screen.", this);
    Label1->setAlignment(Qt::AlignCenter);
    QFont sans("MS Sans Serif");
    sans.setStyleHint(QFont::SansSerif);
    sans.setPixelSize(11);
    Label1->setFont(sans);
    Label1->setStyleSheet("color: red;");
    layout->addWidget(Label1);

    // No mouse pointer over the screen until edit mode gives it back.
    setCursor(Qt::BlankCursor);
    RichEdit1->viewport()->setCursor(Qt::BlankCursor);
}

void ViewerScreen::fillDisplay() {
    // The window with its frame fills the display from the top left corner;
    // the frame is known only once the window manager has framed the window.
    const QSize frame = frameNow().size() - size();
    setClientSize(m_services.screen.width() - 3 - frame.width(),
                  m_services.screen.height() - 27 - frame.height());
    placeFrameAt(1, 1);
}

void ViewerScreen::FormActivate() {
    fillDisplay();
    QTimer::singleShot(100, this, [this] { fillDisplay(); });
    m_printFlag = false;
    m_armed = false;
    m_editMode = false;
    m_loadedPath.reset();
    RichEdit1->setFocus();
}

bool ViewerScreen::loadChosen(const std::string& path) {
    m_state.files.CurrentFileName = path;
    std::optional<std::string> bytes;
    try {
        if (FileNames::exists(path)) bytes = ReadWholeFile(path);
    } catch (const IoError&) {
        // Shown as a file that cannot be had, like a missing one.
    }
    if (!bytes) {
        m_services.dialogs.message(doesNotExist(path));
        return false;
    }
    // The stamp is read without opening the file, so write-protected files can be viewed.
    if (std::optional<FileStamp> stamp = ReadStamp(path)) m_stamp = *stamp;
    m_loaded = SplitLines(*bytes);
    m_loadedBytes = std::move(*bytes);
    m_loadedPath = path;
    const bool editable = !RichEdit1->isReadOnly();
    RichEdit1->setUndoRedoEnabled(false);
    RichEdit1->setPlainText(fromCp1252(m_loaded.display));
    RichEdit1->setUndoRedoEnabled(editable);
    RichEdit1->document()->setModified(false);
    // The line ends are kept apart; the text area needs only the lines.
    m_loaded.display.clear();
    m_loaded.display.shrink_to_fit();
    RichEdit1->show();
    return true;
}

void ViewerScreen::View1Click() {
    std::optional<std::string> path =
        m_services.fileDialog.open("View a File", m_state.files.DataDir(), ViewerFileFilters());
    if (!path) return;
    loadChosen(*path);
}

void ViewerScreen::Print1Click() {
    m_printFlag = false;
    std::optional<std::string> path =
        m_services.fileDialog.open("Print File", m_state.files.DataDir(), ViewerFileFilters());
    if (!path) return;
    m_printFlag = loadChosen(*path);
    if (!m_printFlag) return;
    PrintDialog::TextDocument document{*path, toCp1252(RichEdit1->toPlainText()),
                                       QtFontDialog::fromQFont(RichEdit1->font()),
                                       PdfPathFor(m_state.files.DataDir(), *path)};
    switch (m_services.printDialog.printText(document)) {
    case PrintDialog::Outcome::PrintedToPdf:
        m_services.dialogs.message("No printer is installed.\rThe file was printed to " +
                                   document.pdfPath);
        break;
    case PrintDialog::Outcome::Failed:
        m_services.dialogs.message("The file " + *path + "\rcould not be printed.");
        break;
    case PrintDialog::Outcome::Printed:
    case PrintDialog::Outcome::Cancelled:
        break;
    }
}

void ViewerScreen::HtmlExportClick() {
    if (!m_loadedPath) {
        m_services.dialogs.message("View a file first; its report is what is exported.");
        return;
    }
    std::optional<std::string> target = m_services.fileDialog.open(
        "HTML export", m_state.files.DataDir(), {{".html", CaseBlindPattern("*.html")}});
    if (!target) return;
    if (FileNames::named(*target) &&
        m_services.dialogs.confirm("The file " + *target + "\rexists already. Replace it?",
                                   Dialogs::Buttons::YesNoDefaultNo) != Dialogs::Answer::Yes)
        return;
    const DateTime now = m_services.clock.now();
    try {
        const std::vector<std::string> skipped =
            WriteFileReport(*m_loadedPath, now.year * 10000 + now.month * 100 + now.day, *target);
        std::string text = "The report was written to " + *target;
        for (const std::string& line : skipped)
            text += "\r" + line;
        m_services.dialogs.message(text);
    } catch (const IoError& e) {
        m_services.dialogs.message(e.message());
    }
}

void ViewerScreen::FontsClick() {
    auto apply = [this](const FontChoice& font) {
        RichEdit1->setFont(QtFontDialog::toQFont(font));
    };
    if (std::optional<FontChoice> font =
            m_services.fontDialog.choose(QtFontDialog::fromQFont(RichEdit1->font()), apply))
        apply(*font);
}

void ViewerScreen::saveEdits() {
    RichEdit1->setReadOnly(true);
    m_editMode = false;
    RichEdit1->viewport()->setCursor(Qt::BlankCursor);
    setCursor(Qt::BlankCursor);
    // Only the file shown in this visit is written, and only to itself.
    if (!m_loadedPath) return;
    std::string bytes = RichEdit1->document()->isModified()
                            ? JoinLines(toCp1252(RichEdit1->toPlainText()), m_loaded)
                            : m_loadedBytes;
    if (!RewriteKeepingStamp(*m_loadedPath, bytes, m_stamp)) {
        m_services.dialogs.message("The file " + *m_loadedPath +
                                   "\ris write-protected; the changes were not saved.");
        return;
    }
    // The edit is recorded like any other change of a file, its stamp kept
    // all the same.
    if (bytes != m_loadedBytes)
        appendAudit(m_state.files.DataDir(),
                    AuditChange(m_services.clock.now(), "viewer edit",
                                std::filesystem::path(*m_loadedPath).filename().string(),
                                m_loadedBytes, bytes));
    m_loadedBytes = std::move(bytes);
    RichEdit1->document()->setModified(false);
    Label1->setText(QString::number(m_stamp.packed));
}

void ViewerScreen::setMain(QWidget* main, QLabel* hint) {
    m_mainScreen = main;
    m_mainHint = hint;
    setMainScreen(main);
}

void ViewerScreen::ExitClick() {
    if (m_editMode) saveEdits();
    leaveToMain();
}

void ViewerScreen::leaveToMain() {
    // This screen fills the display: its place is not the one the others share.
    hide();
    if (m_mainHint) m_mainHint->hide();
    if (!m_mainScreen) return;
    m_mainScreen->show();
    m_mainScreen->activateWindow();
}

bool ViewerScreen::FormKeyDown(int key) {
    const bool exitKey = m_editMode ? key == Qt::Key_Escape
                                    : key == Qt::Key_Q || key == Qt::Key_X || key == Qt::Key_Escape;
    if (exitKey) {
        RichEdit1->hide();
        ExitClick();
        return true;
    }
    if (key == Qt::Key_End) {
        m_armed = true;
    } else if (key == Qt::Key_PageUp && m_armed) {
        m_armed = false;
        if (!AskOwnerPin(m_state, m_services)) return true;
        RichEdit1->setReadOnly(false);
        RichEdit1->setUndoRedoEnabled(true);
        m_editMode = true;
        setCursor(Qt::ArrowCursor);
        RichEdit1->viewport()->setCursor(Qt::IBeamCursor);
    }
    return false;
}

bool ViewerScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !isVisible())
        return ZorviScreen::eventFilter(watched, event);
    // A key the text area does not take travels on to its parents: see it once.
    QWidget* focus = focusWidget();
    if (watched != (focus ? static_cast<QObject*>(focus) : this)) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return false;
    bool consumed = false;
    guarded([&] { consumed = FormKeyDown(key->key()); });
    return consumed;
}

void ViewerScreen::closeEvent(QCloseEvent* event) {
    // The close box is the menu's Exit, edits saved included.
    event->ignore();
    guarded([this] { ExitClick(); });
}
