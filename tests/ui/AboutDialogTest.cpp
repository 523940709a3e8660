// The About window: its text, its two pictures and their swap, and how the menu opens it.

#include <QLabel>
#include <QMenu>

#include "MainWindowFixture.h"
#include "ui/dialogs/AboutDialog.h"

namespace {

QLabel* Image(AboutDialog& about, const char* name) {
    return Find<QLabel>(about, name);
}

TEST(AboutDialog, ShowsTheVersionAnEmptyLineAndTheCopyright) {
    AboutDialog about;
    EXPECT_TRUE(about.isVisible()) << "loading shows the window";
    EXPECT_FALSE(about.isModal());
    EXPECT_EQ(about.windowTitle(), "About Quill");
    const QStringList lines = Find<QLabel>(about, "labAbout")->text().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "KorvoScreenQuill A4.0");
    EXPECT_EQ(lines[1], "");
    EXPECT_TRUE(lines[2].contains("KorvoScreenQuill"));
    EXPECT_TRUE(lines[2].startsWith(QString::fromUtf8("\u00A9"))) << "a copyright line";
    EXPECT_EQ(about.size(), QSize(325, 306)) << "4875 x 4590 twips";
    EXPECT_EQ(Find<QPushButton>(about, "butOK")->geometry(), QRect(112, 248, 81, 25));
}

TEST(AboutDialog, PicturesAreTheProjectsOwnJpegsStretchedToTheirControls) {
    AboutDialog about;
    QLabel* logo = Image(about, "Image1");
    QLabel* portrait = Image(about, "Image2");
    EXPECT_EQ(logo->pixmap().size(), QSize(133, 98));
    EXPECT_EQ(portrait->pixmap().size(), QSize(545, 681));
    EXPECT_TRUE(logo->hasScaledContents());
    EXPECT_TRUE(portrait->hasScaledContents());
    EXPECT_EQ(logo->geometry(), QRect(104, 136, 97, 89));
    EXPECT_EQ(portrait->geometry(), QRect(104, 120, 97, 113));
}

TEST(AboutDialog, DoubleClicksSwapThePictures) {
    AboutDialog about;
    QLabel* logo = Image(about, "Image1");
    QLabel* portrait = Image(about, "Image2");
    EXPECT_TRUE(logo->isVisible());
    EXPECT_FALSE(portrait->isVisible());
    for (int round = 0; round < 2; ++round) {
        QTest::mouseDClick(logo, Qt::LeftButton);
        EXPECT_FALSE(logo->isVisible());
        EXPECT_TRUE(portrait->isVisible());
        QTest::mouseDClick(portrait, Qt::LeftButton);
        EXPECT_TRUE(logo->isVisible());
        EXPECT_FALSE(portrait->isVisible());
    }
    QTest::mouseClick(logo, Qt::LeftButton);
    EXPECT_TRUE(logo->isVisible()) << "a single click swaps nothing";
}

TEST_F(MainWindowTest, AboutOpensModelessOnceAndAfreshAfterOK) {
    Menu("mnuAbout")->trigger();
    QPointer<AboutDialog> about = Window->AboutWindow();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the main window stays usable";

    QTest::mouseDClick(Image(*about, "Image1"), Qt::LeftButton);
    Menu("mnuAbout")->trigger();
    EXPECT_EQ(Window->AboutWindow(), about.data()) << "an open About window is left alone";
    EXPECT_TRUE(Image(*about, "Image2")->isVisible());

    QTest::mouseClick(Find<QPushButton>(*about, "butOK"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull()) << "OK unloads the window";

    Menu("mnuAbout")->trigger();
    ASSERT_NE(Window->AboutWindow(), nullptr);
    EXPECT_TRUE(Image(*Window->AboutWindow(), "Image1")->isVisible());
    EXPECT_FALSE(Image(*Window->AboutWindow(), "Image2")->isVisible());
    EXPECT_TRUE(Dialogs.Shown().empty());
}

} // namespace
