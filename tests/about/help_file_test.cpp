// The compiled help as the viewer reads it: every keyword and every link inside the help leads to
// a page (and anchor) that is there, and the index has the entries users look for. And the help
// says what the program does: every message it quotes is one the program shows, and every worked
// example is what the calculator shows for the example's inputs.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHelpEngineCore>
#include <QHelpLink>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QXmlStreamReader>
#include <algorithm>
#include <map>

#include "about/help_commands.h"
#include "core/units.h"
#include "menufile/menu_file_io.h"
#include "platform/help/assistant_viewer.h"
#include "tests/about/about_fixture.h"
#include "tests/support/fake_window.h"
#include "tests/ui/window_fixture.h"

namespace quintrel::testing {
namespace {

const QString kNamespace = QStringLiteral("org.quintrel.help");

class HelpFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine.setReadOnly(true);
        ASSERT_TRUE(engine.setupData()) << engine.error().toStdString();
        ASSERT_TRUE(engine.registeredDocumentations().contains(kNamespace));
    }
    // Empty when the page or its anchor is missing.
    QString problemWith(const QUrl& url) const {
        QUrl page = url;
        page.setFragment(QString());
        const QByteArray html = engine.fileData(page);
        if (html.isEmpty()) {
            return QStringLiteral("no page ") + page.toString();
        }
        const QString anchor = url.fragment();
        if (!anchor.isEmpty() && !html.contains("id=\"" + anchor.toUtf8() + '"') &&
            !html.contains("name=\"" + anchor.toUtf8() + '"')) {
            return QStringLiteral("no anchor ") + url.toString();
        }
        return {};
    }
    QHelpEngineCore engine{QStringLiteral(QUINTREL_APP_DIR "/Quintrel.qhc")};
};

TEST_F(HelpFileTest, EveryKeywordLeadsToAPage) {
    QFile project(QStringLiteral(QUINTREL_HELP_SOURCE "/quintrel.qhp"));
    ASSERT_TRUE(project.open(QIODevice::ReadOnly));
    QStringList keywords;
    for (QXmlStreamReader xml(&project); !xml.atEnd();) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"keyword") {
            keywords << xml.attributes().value("name").toString();
        }
    }
    EXPECT_GE(keywords.size(), 40);
    for (const char* needed : {"Nyquist", "menu file", "sign convention", "normalization", "period",
                               "number of points", "System Info"}) {
        EXPECT_TRUE(keywords.contains(QLatin1String(needed))) << needed;
    }
    for (const QString& keyword : keywords) {
        const QList<QHelpLink> links = engine.documentsForKeyword(keyword);
        ASSERT_FALSE(links.isEmpty()) << keyword.toStdString();
        EXPECT_EQ(problemWith(links.first().url), QString()) << keyword.toStdString();
    }
}

TEST_F(HelpFileTest, EveryLinkAndImageInsideTheHelpResolves) {
    const QList<QUrl> pages = engine.files(kNamespace, QString(), QStringLiteral("html"));
    EXPECT_EQ(pages.size(), 9);
    static const QRegularExpression reference(QStringLiteral(R"re((?:href|src)="([^"]+)")re"));
    int checked = 0;
    for (const QUrl& page : pages) {
        const QString html = QString::fromUtf8(engine.fileData(page));
        for (const auto& match : reference.globalMatch(html)) {
            const QUrl target = page.resolved(QUrl(match.captured(1)));
            EXPECT_EQ(problemWith(target), QString()) << page.toString().toStdString();
            ++checked;
        }
    }
    EXPECT_GT(checked, 40);
}

// In the help's sources, a quoted message is an element of class "message"; each <i>...</i> in it
// stands for a part the program fills in (a path, a quantity). A worked example is an element of
// class "example" whose data attributes give the inputs: data-delta-t, data-delta-f, data-n, the
// units (data-time-unit, data-frequency-unit), data-signal="repetitive", data-check2="1", the
// button pressed (data-press="Command1" or "Command2") and a time unit chosen afterwards
// (data-choose-time-unit). data-show names what its text is, on the element itself or on parts
// inside it: a field (Text1, Text2, Text3), a line (Label2, Label6, Label5), the "message" of a
// failure or the menu "file" Save writes.
struct Marked {
    QString page;
    QString tag;
    QString attributes;
    QString html;  // the contents
};

std::vector<Marked> markedElements(const QString& className) {
    const QRegularExpression element(
        QStringLiteral(R"re(<(\w+)\s([^>]*\bclass="%1"[^>]*)>(.*?)</\1>)re").arg(className),
        QRegularExpression::DotMatchesEverythingOption);
    const QDir folder(QStringLiteral(QUINTREL_HELP_SOURCE));
    std::vector<Marked> found;
    for (const QString& name : folder.entryList({QStringLiteral("*.html")})) {
        QFile page(folder.filePath(name));
        EXPECT_TRUE(page.open(QIODevice::ReadOnly)) << name.toStdString();
        for (const auto& match : element.globalMatch(QString::fromUtf8(page.readAll()))) {
            found.push_back({name, match.captured(1), match.captured(2), match.captured(3)});
        }
    }
    return found;
}

QString attribute(const QString& attributes, const char* name) {
    const QRegularExpression value(QLatin1String(name) + QStringLiteral(R"re(="([^"]*)")re"));
    return value.match(attributes).captured(1);
}

// The text a reader sees; a <pre> keeps its lines.
QString plainText(const QString& tag, const QString& html) {
    return QTextDocumentFragment::fromHtml('<' + tag + '>' + html + "</" + tag + '>')
        .toPlainText()
        .trimmed();
}

struct RecordingReporter : MessageReporter {
    void report(const std::string& text) override { texts << QString::fromStdString(text); }
    QStringList texts;
};

struct NoViewer : help::ViewerLauncher {
    std::unique_ptr<help::ViewerProcess> start(const QString&, const QStringList&) override {
        return nullptr;
    }
};

// Every message the program can show, with sample paths where one names a file.
QStringList programMessages() {
    QStringList all;
    for (int error = 0; error <= static_cast<int>(GridError::NoFrequencyUnit); ++error) {
        for (int quantity = 0; quantity <= static_cast<int>(GridQuantity::FrequencyGrid);
             ++quantity) {
            all << QString::fromStdString(
                describe(static_cast<GridError>(error), static_cast<GridQuantity>(quantity)));
        }
    }
    // A menu file in a folder that is not there can be neither read nor written.
    FakeWindow grid;
    GridState state;
    GridHandlers handlers(grid, state, "");
    RecordingReporter reporter;
    state.MenuFilePath = "/no such folder/menu.txt";
    ReadMenuFile(grid, handlers, state, reporter);
    EXPECT_FALSE(WriteMenuFile(grid, state, reporter));
    all << reporter.texts;

    // The help viewer's errors: not installed, not startable.
    NoViewer launcher;
    for (const QString& viewer : {QString(), QStringLiteral("/x/assistant")}) {
        const help::HelpResult result =
            help::HelpViewer(launcher, [viewer] { return viewer; })
                .WinHelpA(nullptr, QStringLiteral(QUINTREL_APP_DIR "/Quintrel.hlp"),
                          help::kHelpContents, {});
        if (result.error) {
            all << *result.error;
        }
    }
    // The Windows viewer's error for a help file marked as downloaded.
    all << help::blockedHelpFileError(QStringLiteral("C:\\Quintrel\\Quintrel.chm"));
    // Message boxes: no help setting, no help file, a help file the Windows viewer cannot read,
    // no system information program, and a folder without the formula pictures, reported once the
    // window is up.
    MessageCatcher boxes;
    showHelpContents(nullptr, QString(), QStringLiteral("/q"), QStringLiteral("Quintrel"), {});
    (void)help::HelpViewer(launcher, [] {
        return QString();
    }).WinHelpA(nullptr, QStringLiteral("/no such folder/Quintrel.hlp"), help::kHelpContents, {});
    help::reportUnreadableHelpFile(nullptr, QStringLiteral("/q/Quintrel.hlp"));
    FakeRegistry registry;
    RecordingStarter starter;
    StartSysInfo(registry, starter, nullptr, QStringLiteral("Quintrel"));
    TemporarySettings settings;
    const QTemporaryDir empty;
    frmMain window(empty.path());
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return boxes.messages.size() == 5; }));
    for (const CaughtMessage& box : boxes.messages) {
        all << box.text;
    }
    return all;
}

// What the window shows after a worked example, by the names data-show uses.
std::map<QString, QString> calculate(const QString& attributes) {
    const auto given = [&](const char* name) { return attribute(attributes, name).toStdString(); };
    FakeWindow window;
    GridState state;
    GridHandlers handlers(window, state, "");
    window.handlers = &handlers;
    (void)handlers.Form_Load();
    window.setOptionSelected(given("data-signal") == "repetitive" ? 1 : 0, true);
    const auto choose = [&](UnitList list, const auto& units, const std::string& unit) {
        if (!unit.empty()) {
            window.setSelectedIndex(
                list, static_cast<int>(std::ranges::find(units, unit) - units.begin()));
        }
    };
    choose(UnitList::Combo1, TimeUnits, given("data-time-unit"));
    choose(UnitList::Combo2, FrequencyUnits, given("data-frequency-unit"));
    window.setText(TextField::Text1, given("data-delta-t"));
    window.setText(TextField::Text2, given("data-n"));
    window.setText(TextField::Text3, given("data-delta-f"));
    window.setCheckState(CheckBox::Check2, given("data-check2") == "1" ? 1 : 0);

    const bool forward = given("data-press") == "Command1";
    if (!window.isEnabled(forward ? TransferButton::Command1 : TransferButton::Command2)) {
        return {{QStringLiteral("message"), QStringLiteral("(the button is disabled)")}};
    }
    GridResult result = forward ? handlers.Command1_Click() : handlers.Command2_Click();
    choose(UnitList::Combo1, TimeUnits, given("data-choose-time-unit"));
    if (result.ok() && !window.failures.empty()) {
        result = window.failures.back();
    }
    const auto text = [](const std::string& s) { return QString::fromStdString(s); };
    std::map<QString, QString> shown = {
        {QStringLiteral("Text1"), text(window.texts[0])},
        {QStringLiteral("Text2"), text(window.texts[1])},
        {QStringLiteral("Text3"), text(window.texts[2])},
        {QStringLiteral("Label2"), text(window.caption(SummaryLabel::Label2))},
        {QStringLiteral("Label6"), text(window.caption(SummaryLabel::Label6))},
        {QStringLiteral("Label5"), text(window.caption(SummaryLabel::Label5))},
        {QStringLiteral("message"), result.ok() ? QString() : text(result.message())}};
    const QTemporaryDir folder;
    state.MenuFilePath = folder.filePath(QStringLiteral("menu.txt")).toStdString();
    RecordingReporter reporter;
    QFile file(QString::fromStdString(state.MenuFilePath));
    if (WriteMenuFile(window, state, reporter) && file.open(QIODevice::ReadOnly)) {
        shown[QStringLiteral("file")] = QString::fromUtf8(file.readAll());
    }
    return shown;
}

TEST(HelpSourceTest, EveryQuotedMessageIsOneTheProgramShows) {
    const QStringList messages = programMessages();
    const std::vector<Marked> quoted = markedElements(QStringLiteral("message"));
    EXPECT_GE(quoted.size(), 15u);
    static const QRegularExpression variable(QStringLiteral("<i>[^<]*</i>"));
    const QString placeholder = QStringLiteral("{variable}");
    for (const Marked& message : quoted) {
        const QString text =
            plainText(message.tag, QString(message.html).replace(variable, placeholder));
        QStringList parts = text.split(placeholder);
        for (QString& part : parts) {
            part = QRegularExpression::escape(part);
        }
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(parts.join(".+")));
        EXPECT_TRUE(std::ranges::any_of(
            messages, [&](const QString& shown) { return pattern.match(shown).hasMatch(); }))
            << message.page.toStdString() << ": " << text.toStdString();
    }
}

TEST(HelpSourceTest, EveryWorkedExampleIsWhatTheCalculatorShows) {
    const std::vector<Marked> examples = markedElements(QStringLiteral("example"));
    EXPECT_GE(examples.size(), 9u);
    static const QRegularExpression part(
        QStringLiteral(R"re(<(\w+)\s[^>]*data-show="(\w+)"[^>]*>(.*?)</\1>)re"),
        QRegularExpression::DotMatchesEverythingOption);
    for (const Marked& example : examples) {
        const std::map<QString, QString> shown = calculate(example.attributes);
        // (what, the help's text): the example's own text, or that of each part inside it.
        std::vector<std::pair<QString, QString>> claims;
        if (const QString what = attribute(example.attributes, "data-show"); !what.isEmpty()) {
            claims.emplace_back(what, plainText(example.tag, example.html));
        }
        for (const auto& match : part.globalMatch(example.html)) {
            claims.emplace_back(match.captured(2), plainText(match.captured(1), match.captured(3)));
        }
        EXPECT_FALSE(claims.empty())
            << example.page.toStdString() << ": " << example.attributes.toStdString();
        for (auto [what, text] : claims) {
            if (what == u"file") {
                text = text.replace('\n', QStringLiteral("\r\n")) + QStringLiteral("\r\n");
            }
            const auto value = shown.find(what);
            ASSERT_NE(value, shown.end()) << what.toStdString();
            EXPECT_EQ(value->second.toStdString(), text.toStdString())
                << example.page.toStdString() << ": " << example.attributes.toStdString();
        }
    }
}

}  // namespace
}  // namespace quintrel::testing
