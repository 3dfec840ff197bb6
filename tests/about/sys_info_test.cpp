// System Info, pressed in the About box: the two registry look-ups, their order, the existence
// test, the buffer rules and the one message.
#include "about/sys_info.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "about/frm_about.h"
#include "tests/about/about_fixture.h"

namespace quintrel::testing {
namespace {

const std::string kMsinfo = R"(SOFTWARE\Microsoft\Shared Tools\MSINFO)";
const std::string kLocation = R"(SOFTWARE\Microsoft\Shared Tools Location)";
const QString kUnavailable = QStringLiteral("System Information Is Unavailable At This Time");

FakeRegistry::Value sz(const std::string& text) {
    return {registry::kRegSz, text + '\0'};
}

// An About box that looks in the test's registry and starts programs through its starter.
class SysInfoTest : public ::testing::Test {
  protected:
    void SetUp() override { box.show(); }
    // Presses the System Info button, or its access key Alt+S, which only the active window takes
    // and which clicks the button a moment later.
    void run(bool accessKey = false) {
        auto* button = box.findChild<QPushButton*>("cmdSysInfo");
        if (!accessKey) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
        box.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &box; }));
        QSignalSpy clicked(button, &QPushButton::clicked);
        QTest::keyClick(&box, Qt::Key_S, Qt::AltModifier);
        EXPECT_TRUE(clicked.wait(2000));
    }
    void expectUnavailableOnce() { boxes.expectOne("Quintrel", kUnavailable); }
    std::unique_ptr<FakeRegistry> ownRegistry = std::make_unique<FakeRegistry>();
    std::unique_ptr<RecordingStarter> ownStarter = std::make_unique<RecordingStarter>();
    FakeRegistry& registry = *ownRegistry;
    RecordingStarter& starter = *ownStarter;
    frmAbout box{nullptr,
                 {QStringLiteral("Quintrel"), 1, 0, 2},
                 std::move(ownRegistry),
                 std::move(ownStarter)};
    MessageBoxes boxes;
};

TEST_F(SysInfoTest, APathValueIsStartedWithoutTestingTheFile) {
    registry.keys[kMsinfo]["PATH"] = sz("/nowhere/msinfo32");
    run();
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0], "/nowhere/msinfo32");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(registry.opened, std::vector<std::string>{kMsinfo});  // the second key is not read
    // Read rights only, and every key closed again.
    EXPECT_EQ(registry.access, std::vector<std::uint32_t>{registry::kKeyRead});
    EXPECT_EQ(registry.open, 0);

    starter.succeeds = false;  // such as a path that names no program
    run();
    expectUnavailableOnce();
}

TEST_F(SysInfoTest, TheSharedToolsFolderCountsOnlyWithTheProgramInIt) {
    QTemporaryDir folder;
    registry.keys[kLocation]["MSINFO"] = sz(QDir::toNativeSeparators(folder.path()).toStdString());
    run();
    EXPECT_TRUE(starter.started.empty());
    expectUnavailableOnce();
    EXPECT_EQ(registry.opened, (std::vector<std::string>{kMsinfo, kLocation}));

    QFile program(folder.filePath("MSINFO32.EXE"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    run();
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_EQ(starter.started[0], QDir::toNativeSeparators(folder.filePath("MSINFO32.EXE")));
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(SysInfoTest, NeitherKeyGivesOneMessage) {
    run();
    expectUnavailableOnce();
    run(true);
    expectUnavailableOnce();
    EXPECT_TRUE(box.isVisible());
}

TEST_F(SysInfoTest, AValueFillingTheWholeBufferEndsTheLookUp) {
    QTemporaryDir folder;
    QFile program(folder.filePath("MSINFO32.EXE"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.close();
    registry.keys[kLocation]["MSINFO"] = sz(folder.path().toStdString());

    // 1024 bytes without a NUL: an error that skips the second look-up.
    registry.keys[kMsinfo]["PATH"] = {registry::kRegSz, std::string(kKeyValueBufferBytes, 'a')};
    run();
    expectUnavailableOnce();
    EXPECT_EQ(registry.opened, std::vector<std::string>{kMsinfo});
    EXPECT_EQ(registry.open, 0);

    // One byte more does not fit at all: not found, so the second look-up runs and succeeds.
    registry.keys[kMsinfo]["PATH"] = {registry::kRegSz, std::string(kKeyValueBufferBytes + 1, 'a')};
    run();
    EXPECT_TRUE(boxes.shown.empty());
    ASSERT_EQ(starter.started.size(), 1u);
    EXPECT_TRUE(starter.started[0].endsWith("MSINFO32.EXE"));
}

TEST(GetKeyValueTest, ValueTypes) {
    struct Case {
        const char* what;
        FakeRegistry::Value value;
        KeyValueStatus status;
        std::string text;
    };
    constexpr auto kRead = KeyValueStatus::Read;
    const Case cases[] = {
        {"string cut at its NUL",
         {registry::kRegSz, std::string("C:\\x\0junk", 9)},
         kRead,
         "C:\\x"},
        {"DWORD with a zero low byte",
         {registry::kRegDword, std::string("\x00\x01\x00\x00", 4)},
         kRead,
         "&h100"},
        {"DWORD", {registry::kRegDword, std::string("\xEF\xBE\xAD\xDE", 4)}, kRead, "&hDEADBEEF"},
        {"other type keeps the output", {3, std::string("\x01\x02", 2)}, kRead, "before"},
        {"string filling the buffer keeps the output",
         {registry::kRegSz, std::string(kKeyValueBufferBytes, 'a')},
         KeyValueStatus::FillsBuffer,
         "before"},
    };
    for (const Case& c : cases) {
        FakeRegistry registry;
        registry.keys["K"]["V"] = c.value;
        std::string text = "before";
        EXPECT_EQ(GetKeyValue(registry, registry::kHkeyLocalMachine, "K", "V", text), c.status)
            << c.what;
        EXPECT_EQ(text, c.text) << c.what;
        EXPECT_EQ(registry.open, 0) << c.what;
    }
    FakeRegistry empty;
    std::string text = "before";
    EXPECT_EQ(GetKeyValue(empty, registry::kHkeyLocalMachine, "K", "V", text),
              KeyValueStatus::NotRead);
    EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace quintrel::testing
