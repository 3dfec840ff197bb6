// The compiled help as the viewer reads it: every keyword and every link inside the help leads to
// a page (and anchor) that is there, and the index has the entries users look for.
#include <gtest/gtest.h>

#include <QFile>
#include <QHelpEngineCore>
#include <QHelpLink>
#include <QRegularExpression>
#include <QXmlStreamReader>

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

}  // namespace
