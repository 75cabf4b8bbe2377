#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "stddb/forms/versions_form.h"
#include "tests/forms/support/fakes.h"
#include "ui/program_icon.h"

namespace {

TEST(ProgramIcon, HoldsEverySizeTheBuildRendered) {
    const QIcon icon = ui::programIcon();
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
        // Each size is a picture of its own, not a scaling of another.
        const QPixmap picture = icon.pixmap(QSize(size, size), 1.0);
        EXPECT_EQ(picture.size(), QSize(size, size)) << size;
    }
}

TEST(ProgramIcon, SmallSizesComeFromTheirOwnDrawing) {
    // The small drawing has no lettering; scaled down, the large one would blur its lines into its text.
    const QIcon icon = ui::programIcon();
    const QImage small = icon.pixmap(QSize(16, 16), 1.0).toImage();
    const QImage scaled = icon.pixmap(QSize(256, 256), 1.0)
                              .toImage()
                              .scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_NE(small.convertToFormat(QImage::Format_ARGB32), scaled.convertToFormat(QImage::Format_ARGB32));
    // Opaque in its middle: a drawn icon, not an empty picture.
    EXPECT_EQ(qAlpha(small.pixel(8, 8)), 255);
}

TEST(ProgramIcon, EveryWindowOfTheProgramShowsIt) {
    ui::useProgramIcon();
    testing_support::FakeProgram fake;
    app::Form1& main = fake.program->forms().form1();
    stddb::UserForm4* versions = nullptr;
    fake.dialogs.onModal = [&](QDialog& dialog) {
        versions = qobject_cast<stddb::UserForm4*>(&dialog);
        ASSERT_NE(versions, nullptr);
        EXPECT_EQ(versions->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    };
    fake.program->forms().showVersions();
    EXPECT_NE(versions, nullptr);
    EXPECT_FALSE(main.windowIcon().isNull());
    EXPECT_EQ(main.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
    EXPECT_TRUE(main.windowIcon().availableSizes().contains(QSize(32, 32)));
    QApplication::setWindowIcon(QIcon());
}

}  // namespace
