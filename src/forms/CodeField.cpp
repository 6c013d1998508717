#include "forms/CodeField.h"

#include "forms/EntryField.h"
#include "forms/EntryRules.h"
#include "forms/Guard.h"
#include "forms/HelpLines.h"
#include "platform/Cp1252.h"
#include "platform/Dialogs.h"
#include "scanning/BarCodes.h"
#include "store/Options.h"

#include <QTimer>

#include <cstdlib>

using EntryRules::CodeStep;

namespace {

bool isSuffixKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab;
}

// The character a held key types once let through; Tab stays a tab, which
// only a scanner's burst turns into Enter.
char characterOf(int key) {
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    case Qt::Key_Tab:
        return '\t';
    case Qt::Key_Escape:
        return '\x1b';
    case Qt::Key_Backspace:
        return '\b';
    default:
        return key >= 0x20 && key < 0x7f ? static_cast<char>(key) : char{0};
    }
}

} // namespace

CodeField::CodeField(EntryField*& field, std::string& code, const HelpLines& help, Dialogs& dialogs,
                     Settings settings)
    : m_field(field), m_code(code), m_help(help), m_dialogs(dialogs), m_settings(settings) {}

void CodeField::useOptions(const Options& options) {
    m_burst.setGap(ScannerGapMs(options));
    m_beep = options.value("beep") == "on";
}

bool CodeField::takeSuffix(unsigned long ms) {
    if (!m_suffixDue || !m_burst.follows(ms)) return false;
    m_suffixDue = false;
    return true;
}

bool CodeField::scannedNow() const {
    const unsigned long ms = m_field->keyTime();
    return ms != 0 && m_burst.scanned() && m_burst.last() == ms;
}

void CodeField::keyDown(int& key, Qt::KeyboardModifiers modifiers) {
    const unsigned long ms = m_field->keyTime();
    if (isSuffixKey(key) && takeSuffix(ms)) {
        key = 0;
        return;
    }
    m_suffixDue = false;
    if (m_warning) {
        m_warning = false;
        if (clearWarning) clearWarning();
    }
    // Shift alone may come with or without its own modifier bit.
    const bool shiftAlone =
        key == Qt::Key_Shift && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier);
    const bool shifted = shiftAlone || modifiers == Qt::ShiftModifier;
    if (!m_held.empty() && !m_burst.follows(ms)) settle();
    m_burst.press(ms, !shiftAlone);
    if (ms != 0 && m_burst.scanned()) {
        release();
        if (shiftAlone) {
            key = 0;
        } else if (key == Qt::Key_Tab) {
            key = 0;
            char enter = EntryRules::Enter;
            keyPress(enter);
        } else if (key == Qt::Key_Delete) {
            m_field->clear();
            m_code.clear();
            key = 0;
        }
        // Anything else, a capital typed with Shift too, types as it stands.
        return;
    }
    if (ms != 0 && (shifted || !m_held.empty())) {
        hold(key, shiftAlone ? char{0} : characterOf(key), shifted);
        key = 0;
        return;
    }
    if (shifted) {
        key = 0;
        if (showNote)
            showNote(m_help.line(m_settings.shiftHelpLine));
        else
            m_dialogs.message(m_help.line(m_settings.shiftHelpLine));
        return;
    }
    if (key == Qt::Key_Delete) {
        m_field->clear();
        m_code.clear();
        key = 0;
    }
}

void CodeField::hold(int key, char character, bool shifted) {
    m_held.push_back({key, character, shifted});
    if (!m_holdTimer) {
        m_holdTimer = new QTimer(m_field);
        m_holdTimer->setSingleShot(true);
        QObject::connect(m_holdTimer, &QTimer::timeout,
                         [this] { RunGuarded(m_dialogs, [this] { settle(); }); });
    }
    m_holdTimer->start(static_cast<int>(m_burst.gap()) + 1);
}

void CodeField::settle() {
    if (m_holdTimer) m_holdTimer->stop();
    std::vector<HeldKey> held;
    held.swap(m_held);
    for (const HeldKey& k : held) {
        if (k.shifted) {
            if (showNote)
                showNote(m_help.line(m_settings.shiftHelpLine));
            else
                m_dialogs.message(m_help.line(m_settings.shiftHelpLine));
        } else if (k.key == Qt::Key_Delete) {
            m_field->clear();
            m_code.clear();
        } else if (k.character != 0 && k.character != '\t') {
            m_field->typeKey(k.character);
        }
    }
}

void CodeField::release() {
    if (m_holdTimer) m_holdTimer->stop();
    std::vector<HeldKey> held;
    held.swap(m_held);
    for (const HeldKey& k : held) {
        if (k.key == Qt::Key_Delete) {
            m_field->clear();
            m_code.clear();
        } else if (k.character != 0) {
            m_field->typeKey(k.character == '\t' ? EntryRules::Enter : k.character);
        }
    }
}

void CodeField::misread(bool byLength) {
    m_field->clear();
    m_code.clear();
    m_suffixDue = m_suffixDue || byLength;
    m_warning = true;
    if (showWarning)
        showWarning(BarCodes::MisreadText);
    else if (showNote)
        showNote(BarCodes::MisreadText);
    else
        m_dialogs.message(BarCodes::MisreadText);
}

void CodeField::keyPress(char& key) {
    const bool back = mayStepBack && mayStepBack();
    const EntryRules::CodeKey step =
        EntryRules::applyCodeKey(m_code, key, m_settings.servicesAllowed, back);
    key = step.key;
    switch (step.step) {
    case CodeStep::Typing:
        return;
    case CodeStep::EmptyEnter:
        // Inside a burst no box is shown.
        if (!scannedNow()) m_dialogs.message(m_help.line(m_settings.emptyEnterHelpLine));
        return;
    case CodeStep::StepBack:
        m_field->clear();
        if (stepBack) stepBack();
        return;
    case CodeStep::Complete: {
        m_scanned = scannedNow();
        if (m_scanned) {
            if (BarCodes::Misread(m_code)) {
                misread(step.byLength);
                return;
            }
            m_suffixDue = step.byLength;
            if (m_beep) m_dialogs.beep();
        }
        m_field->setText(fromCp1252(m_code).trimmed());
        if (complete) complete(step.byLength);
        return;
    }
    }
}

void SalesPersonKeyPress(char& key, const Configuration& config, const HelpLines& help,
                         Dialogs& dialogs, const std::function<void(const std::string&)>& accept,
                         const std::function<void()>& leave) {
    const char typed = key;
    const std::string code(1, EntryRules::upper(key));
    if (EntryRules::isSalesPersonCode(config, key)) {
        accept(code);
        return;
    }
    key = 0;
    if (typed != EntryRules::Esc) dialogs.message(code + help.line(2));
    if (typed == EntryRules::Esc || typed == 'X') leave();
}
