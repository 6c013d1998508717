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
    nameRoles({{fileMenuBar, "fileMenuBar"},
               {fileMenu, "fileMenu"},
               {viewAction, "viewAction"},
               {printAction, "printAction"},
               {htmlExportAction, "htmlExportAction"},
               {fontAction, "fontAction"},
               {checkBooksAction, "checkBooksAction"},
               {exitAction, "exitAction"},
               {textBox, "textBox"},
               {exitHintLabel, "exitHintLabel"}});
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    installEventFilter(this);
}

void ViewerScreen::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    fileMenuBar = new QMenuBar(this);
    fileMenuBar->setNativeMenuBar(false);
    fileMenu = fileMenuBar->addMenu("  File &Menu   Press: Alt+M");
    viewAction = fileMenu->addAction("&View file      Press:  V  (...)");
    printAction = fileMenu->addAction("&Print file       Press:  P  (...)");
    htmlExportAction = fileMenu->addAction("&HTML export   Press: H");
    fontAction = fileMenu->addAction("&Select font   Press: F   (...)");
    checkBooksAction = fileMenu->addAction("&Check books   Press: C");
    fileMenu->addSeparator();
    exitAction = fileMenu->addAction("E&xit              Press: x");
    layout->setMenuBar(fileMenuBar);
    // A key exit hid the text; opening the menu brings it back.
    connect(fileMenu, &QMenu::aboutToShow, this, [this] { textBox->show(); });
    connect(viewAction, &QAction::triggered, this, [this] { guarded([this] { View1Click(); }); });
    connect(printAction, &QAction::triggered, this, [this] { guarded([this] { Print1Click(); }); });
    connect(htmlExportAction, &QAction::triggered, this,
            [this] { guarded([this] { HtmlExportClick(); }); });
    connect(fontAction, &QAction::triggered, this, [this] { guarded([this] { FontsClick(); }); });
    // The seals of the takings checked, as zorvi-verify does, shown here.
    connect(checkBooksAction, &QAction::triggered, this, [this] {
        guarded([this] {
            QStringList lines;
            for (const std::string& line : SealCheckReport(CheckSeals(m_state.files.DataDir())))
                lines << fromCp1252(line);
            textBox->setPlainText(lines.join('\n'));
            textBox->show();
        });
    });
    connect(exitAction, &QAction::triggered, this, [this] { guarded([this] { ExitClick(); }); });

    textBox = new QPlainTextEdit(this);
    textBox->setFrameStyle(QFrame::Box | QFrame::Sunken);
    textBox->setLineWidth(3);
    textBox->setAccessibleName("Viewed file");
    textBox->setFont(ScreenParts::lineDraw(11));
    textBox->setReadOnly(true);
    textBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox->setStyleSheet("QPlainTextEdit { background: white; color: black; }");
    QStringList welcome;
    for (const char* line : Welcome)
        welcome << line;
    textBox->setPlainText(welcome.join('\n'));
    layout->addWidget(textBox, 1);

    exitHintLabel = new QLabel("Press  Q or  X  or  ESC  to exit to the main screen.", this);
    exitHintLabel->setAlignment(Qt::AlignCenter);
    QFont sans("MS Sans Serif");
    sans.setStyleHint(QFont::SansSerif);
    sans.setPixelSize(11);
    exitHintLabel->setFont(sans);
    exitHintLabel->setStyleSheet("color: red;");
    layout->addWidget(exitHintLabel);

    // No mouse pointer over the screen until edit mode gives it back.
    setCursor(Qt::BlankCursor);
    textBox->viewport()->setCursor(Qt::BlankCursor);
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
    textBox->setFocus();
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
    const bool editable = !textBox->isReadOnly();
    textBox->setUndoRedoEnabled(false);
    textBox->setPlainText(fromCp1252(m_loaded.display));
    textBox->setUndoRedoEnabled(editable);
    textBox->document()->setModified(false);
    // The line ends are kept apart; the text area needs only the lines.
    m_loaded.display.clear();
    m_loaded.display.shrink_to_fit();
    textBox->show();
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
    PrintDialog::TextDocument document{*path, toCp1252(textBox->toPlainText()),
                                       QtFontDialog::fromQFont(textBox->font()),
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
    auto apply = [this](const FontChoice& font) { textBox->setFont(QtFontDialog::toQFont(font)); };
    if (std::optional<FontChoice> font =
            m_services.fontDialog.choose(QtFontDialog::fromQFont(textBox->font()), apply))
        apply(*font);
}

void ViewerScreen::saveEdits() {
    textBox->setReadOnly(true);
    m_editMode = false;
    textBox->viewport()->setCursor(Qt::BlankCursor);
    setCursor(Qt::BlankCursor);
    // Only the file shown in this visit is written, and only to itself.
    if (!m_loadedPath) return;
    std::string bytes = textBox->document()->isModified()
                            ? JoinLines(toCp1252(textBox->toPlainText()), m_loaded)
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
    textBox->document()->setModified(false);
    exitHintLabel->setText(QString::number(m_stamp.packed));
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
        textBox->hide();
        ExitClick();
        return true;
    }
    if (key == Qt::Key_End) {
        m_armed = true;
    } else if (key == Qt::Key_PageUp && m_armed) {
        m_armed = false;
        if (!AskOwnerPin(m_state, m_services)) return true;
        textBox->setReadOnly(false);
        textBox->setUndoRedoEnabled(true);
        m_editMode = true;
        setCursor(Qt::ArrowCursor);
        textBox->viewport()->setCursor(Qt::IBeamCursor);
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
