// Runs the screen cases of tests/golden/; their language is in its README.md.
#include "app/MainScreen.h"
#include "store/AuditTrail.h"
#include "support/GoldenCase.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QClipboard>
#include <QKeySequence>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

struct ScreenRun : ProgramFixture {
    ZorviScreen* screen = nullptr;
    size_t said = 0;

    // Where a key goes: the control with the focus, else the screen's cursor.
    QWidget* target() const {
        QWidget* at = QApplication::focusWidget();
        for (QWidget* w = at; w; w = w->parentWidget())
            if (w == screen) return at;
        return screen->activeControl() ? screen->activeControl() : screen;
    }

    void keys(const std::string& keys) {
        for (size_t i = 0; i < keys.size(); ++i) {
            const size_t close = keys[i] == '<' ? keys.find('>', i + 1) : std::string::npos;
            if (close == std::string::npos || close == i + 1) {
                QTest::keyClick(target(), keys[i]);
            } else {
                const QString name = QString::fromStdString(keys.substr(i + 1, close - i - 1));
                const QKeyCombination key =
                    name == "Enter" ? QKeyCombination(Qt::Key_Return) : QKeySequence(name)[0];
                if (key.key() == Qt::Key_unknown) ADD_FAILURE() << "no key " << name.toStdString();
                QTest::keyClick(target(), key.key(), key.keyboardModifiers());
                i = close;
            }
            QApplication::processEvents();
        }
    }

    std::string textOf(const std::string& written) const {
        std::string text = GoldenText(written);
        for (size_t at; (at = text.find("{dir}")) != std::string::npos;)
            text.replace(at, 5, dir.path());
        return text;
    }

    // Each role of `roles` passes `check`.
    void each(const std::string& roles, bool (*check)(const QObject*, const char*), bool is) {
        for (const std::string& role : words(roles))
            EXPECT_EQ(check(screen, role.c_str()), is) << role;
    }

    void step(const GoldenCase::Step& s, const GoldenCase& c) {
        const size_t blank = s.rest.find(' ');
        const std::string first = s.rest.substr(0, blank);
        const std::string text = textOf(blank == std::string::npos ? "" : s.rest.substr(blank + 1));
        if (s.word == "screen") {
            if (!program) start();
            screen = openScreen(s.rest);
        } else if (s.word == "printer" && s.rest == "ready") {
            printerReady();
        } else if (s.word == "date") {
            EXPECT_TRUE(ParseGoldenDate(s.rest, clock.time)) << s.rest;
        } else if (s.word == "time") {
            EXPECT_EQ(std::sscanf(s.rest.c_str(), "%d:%d:%d", &clock.time.hour, &clock.time.minute,
                                  &clock.time.second),
                      3);
        } else if (s.word == "answer") {
            const std::map<std::string, Dialogs::Answer> names = {
                {"Yes", Dialogs::Answer::Yes},
                {"No", Dialogs::Answer::No},
                {"Ok", Dialogs::Answer::Ok},
                {"Cancel", Dialogs::Answer::Cancel},
                {"Retry", Dialogs::Answer::Retry}};
            for (const std::string& word : words(s.rest)) {
                EXPECT_TRUE(names.count(word)) << "no answer " << word;
                if (names.count(word)) dialogs.answers.push_back(names.at(word));
            }
        } else if (s.word == "typed" || s.word == "secret") {
            (s.word == "typed" ? dialogs.typed : dialogs.secrets).push_back(textOf(s.rest));
        } else if (s.word == "choose") {
            fileDialog.answers.push_back(dir.file(s.rest));
        } else if (s.word == "keys") {
            keys(s.rest);
        } else if (s.word == "said") {
            ASSERT_LT(said, dialogs.shown.size()) << "no box said " << s.rest;
            EXPECT_EQ(dialogs.shown[said++].text, textOf(s.rest));
        } else if (s.word == "no-by-default") {
            ASSERT_GT(said, 0u);
            EXPECT_EQ(dialogs.shown[said - 1].buttons, Dialogs::Buttons::YesNoDefaultNo);
        } else if (s.word == "shows") {
            EXPECT_EQ(probe::text(screen, first.c_str()), text);
        } else if (s.word == "line") {
            const std::vector<std::string> lines =
                ProgramFixture::lines(probe::widget<QPlainTextEdit>(screen, first.c_str()));
            const long n = std::stol(text);
            const long at = n < 0 ? static_cast<long>(lines.size()) + n : n - 1;
            ASSERT_TRUE(at >= 0 && at < static_cast<long>(lines.size())) << s.rest;
            EXPECT_EQ(lines[static_cast<size_t>(at)], text.substr(text.find(' ') + 1));
        } else if (s.word == "colour") {
            const std::vector<std::string> parts = words(text);
            QTextCursor at(probe::widget<QPlainTextEdit>(screen, first.c_str())
                               ->document()
                               ->findBlockByNumber(std::stoi(parts.at(0)) - 1));
            at.movePosition(QTextCursor::NextCharacter);
            EXPECT_EQ(at.charFormat().foreground().color().name(),
                      QColor(parts.at(1).c_str()).name());
        } else if (s.word == "clipboard") {
            QGuiApplication::clipboard()->setText(QString::fromStdString(textOf(s.rest)));
        } else if (s.word == "copied") {
            EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), textOf(s.rest));
        } else if (s.word == "selected") {
            EXPECT_EQ(probe::selected(screen, first.c_str()), text);
        } else if (s.word == "click") {
            QTest::mouseClick(probe::widget(screen, s.rest.c_str()), Qt::LeftButton, Qt::NoModifier,
                              QPoint(3, 12));
            QApplication::processEvents();
        } else if (s.word == "focus") {
            probe::widget(screen, s.rest.c_str())->setFocus();
            QApplication::processEvents();
        } else if (s.word == "write") {
            dir.write(first, text);
        } else if (s.word == "holds") {
            EXPECT_NE(dir.read(first).find(text), std::string::npos) << first;
        } else if (s.word == "lacks") {
            EXPECT_EQ(dir.read(first).find(text), std::string::npos) << first;
        } else if (s.word == "trigger") {
            probe::widget<QAction>(screen, s.rest.c_str())->trigger();
            QApplication::processEvents();
        } else if (s.word == "there") {
            EXPECT_TRUE(dir.exists(s.rest)) << s.rest;
        } else if (s.word == "remove") {
            std::remove(dir.file(s.rest).c_str());
        } else if (s.word == "same") {
            EXPECT_EQ(dir.read(s.rest), c.input.count(s.rest) ? c.input.at(s.rest) : "") << s.rest;
        } else if (s.word == "audited") {
            const std::vector<std::string> parts = words(text);
            const bool counted =
                !parts.empty() && parts[0].find_first_not_of("0123456789") == std::string::npos;
            std::vector<std::string> trail;
            for (const AuditEntry& e : ReadAuditTrail(dir.path()))
                trail.push_back(e.who + " " + e.file + " " +
                                (counted ? std::to_string(e.linesChanged) + " " : "") + e.action);
            EXPECT_NE(std::find(trail.begin(), trail.end(), "owner " + s.rest), trail.end())
                << testing::PrintToString(trail);
        } else if (s.word == "visible" || s.word == "hidden") {
            each(s.rest, probe::visible, s.word == "visible");
        } else if (s.word == "enabled" || s.word == "disabled") {
            each(s.rest, probe::enabled, s.word == "enabled");
        } else if (s.word == "cursor") {
            EXPECT_EQ(target()->objectName().toStdString(), s.rest);
        } else if (s.word == "closed") {
            EXPECT_FALSE(screen->isVisible());
            EXPECT_TRUE(main().isVisible());
        } else if (s.word == "quit") {
            QApplication::processEvents();
            EXPECT_FALSE(screen->isVisible());
            EXPECT_FALSE(main().isVisible());
        } else if (s.word != "gone") {
            ADD_FAILURE() << "unknown instruction " << s.word;
        }
    }
};

} // namespace

// A failing case is named by its folder.
void PrintTo(const GoldenCase& c, std::ostream* out) {
    *out << c.name;
}

class GoldenScreenCase : public testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenScreenCase, ShowsWhatItSaysAndLeavesItsExpectedFiles) {
    const GoldenCase& c = GetParam();
    ScreenRun run;
    for (const auto& [name, bytes] : c.input)
        run.dir.write(name, bytes);
    for (const GoldenCase::Step& s : c.steps) {
        SCOPED_TRACE(c.name + "/case.txt:" + std::to_string(s.line));
        run.step(s, c);
        if (HasFatalFailure()) return;
    }
    const std::vector<std::string> shown = run.dialogs.texts();
    EXPECT_EQ(std::vector<std::string>(shown.begin() + static_cast<long>(run.said), shown.end()),
              std::vector<std::string>{})
        << "boxes shown and not said";
    for (const auto& [name, bytes] : c.expected)
        EXPECT_EQ(run.dir.read(name), bytes) << name;
    for (const GoldenCase::Step& s : c.steps)
        if (s.word == "gone") {
            EXPECT_FALSE(run.dir.exists(s.rest)) << s.rest;
        }
}

std::vector<GoldenCase> screenCases() {
    std::vector<GoldenCase> cases = ReadGoldenCases();
    std::erase_if(cases, [](const GoldenCase& c) { return !c.find("screen"); });
    return cases;
}

std::string caseName(const testing::TestParamInfo<GoldenCase>& c) {
    std::string name = c.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Golden, GoldenScreenCase, testing::ValuesIn(screenCases()), caseName);
