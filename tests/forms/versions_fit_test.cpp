// The versions form at the display scales of Windows (100 %, 125 %, 150 %): every text fits the box it
// stands in, with room to its frame, on one line where the screen has room, and the form stays within the
// screen when the database's fields are full.
//
//   versions_fit_test --scale=1.25 [GoogleTest options]
//
// The scale is Qt's QT_SCALE_FACTOR, set by this program before the application starts (a variable set
// outside does not reach a program under Wine). The offscreen screen is a 1920 x 1080 desktop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QScreen>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "app/form_registry.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "stddb/forms/versions_form.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"

namespace {

using testing_support::FakeProgram;
using testing_support::SampleTables;

// Where a label's text may go: inside its frame and its margin.
QRect textArea(const ui::Label& label) {
    return label.contentsRect().adjusted(label.margin(), label.margin(), -label.margin(), -label.margin());
}

// A text fits its label when the label's own layout of it (one line, or wrapped at the label's width)
// lies within the area inside the margin.
void expectFits(const ui::Label& label) {
    const QRect area = textArea(label);
    const QFontMetrics metrics = label.fontMetrics();
    SCOPED_TRACE(label.objectName().toStdString() + " \"" + label.text().toStdString() + "\"");
    if (label.wordWrap()) {
        const int height =
            metrics.boundingRect(QRect(0, 0, area.width(), 100000), Qt::TextWordWrap, label.text()).height();
        EXPECT_LE(height, area.height());
    } else {
        EXPECT_LE(metrics.horizontalAdvance(label.text()), area.width());
        EXPECT_LE(metrics.height(), area.height());
    }
}

class VersionsFit : public ::testing::Test {
protected:
    FakeProgram fake;
    SampleTables sample;

    // Shows the form over the given texts and runs `look` while it is up.
    void showWith(const std::u16string& name, const std::u16string& version,
                  const std::function<void(stddb::UserForm4&)>& look) {
        for (auto& row : sample.table(u"基準案テーブル").rows) {
            row[1] = stddb::Value{version};
        }
        if (!name.empty()) {
            sample.table(u"基準案テーブル").rows[0][0] = stddb::Value{name};
        }
        testing_support::registerSample(fake.settings, fake.workspace, sample);
        fake.program->forms().userForm1().UserForm_Activate();
        bool shown = false;
        fake.dialogs.settleEvents = true;
        fake.dialogs.onModal = [&](QDialog& dialog) {
            shown = true;
            look(static_cast<stddb::UserForm4&>(dialog));
        };
        fake.program->forms().showVersions();
        ASSERT_TRUE(shown);
        EXPECT_TRUE(fake.dialogs.messages.empty());
    }
};

TEST_F(VersionsFit, TheSampleTextsStandOnOneLineInsideTheirBoxes) {
    showWith({}, u"平成16年6月（サンプル）", [](stddb::UserForm4& form) {
        for (const ui::Label* label : form.labels()) {
            EXPECT_FALSE(label->wordWrap()) << label->objectName().toStdString();
            expectFits(*label);
        }
        EXPECT_EQ(form.versions[0]->text(), QStringLiteral("平成16年6月（サンプル）"));
        // The grid's boxes do not overlap the texts under them, and the form shows all of them.
        EXPECT_TRUE(form.rect().contains(form.CommandButton1->geometry()));
        EXPECT_TRUE(form.rect().contains(form.versions[3]->geometry()));
        EXPECT_LE(form.versions[3]->geometry().bottom(), form.Label2->geometry().top());
    });
}

TEST_F(VersionsFit, TheDesignerTextsFitWithoutADatabase) {
    bool shown = false;
    fake.dialogs.onModal = [&](QDialog& dialog) {
        shown = true;
        for (const ui::Label* label : static_cast<stddb::UserForm4&>(dialog).labels()) {
            EXPECT_FALSE(label->wordWrap());
            expectFits(*label);
        }
    };
    fake.program->forms().showVersions();
    EXPECT_TRUE(shown);
}

TEST_F(VersionsFit, FullFieldsStayWithinTheScreen) {
    // As long as the table's fields hold: 100 characters of name, 50 of version.
    std::u16string name;
    while (name.size() < 100) {
        name += u"国土交通省 CAD製図基準（案）";
    }
    name.resize(100);
    std::u16string version;
    while (version.size() < 50) {
        version += u"平成16年6月（サンプル）";
    }
    version.resize(50);
    showWith(name, version, [](stddb::UserForm4& form) {
        const QRect screen = form.screen()->availableGeometry();
        EXPECT_LE(form.width(), screen.width() * 9 / 10);
        for (const ui::Label* label : form.labels()) {
            expectFits(*label);
        }
        EXPECT_TRUE(form.rect().contains(form.CommandButton1->geometry()));
    });
}

TEST_F(VersionsFit, ShortTextsAfterLongOnesStandOnOneLineAgain) {
    std::u16string version(50, u'平');
    showWith({}, version, [](stddb::UserForm4& form) {
        for (int i = 0; i < 4; ++i) {
            form.versions[i]->setCaption(u"第2版");
            form.names[i]->setCaption(u"基準");
        }
        form.fitToTexts();
        for (const ui::Label* label : form.labels()) {
            EXPECT_FALSE(label->wordWrap());
            expectFits(*label);
        }
    });
}

}  // namespace

int main(int argc, char** argv) {
    std::string scale = "1";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--scale=", 8) == 0) {
            scale = argv[i] + 8;
        }
    }
    qputenv("QT_SCALE_FACTOR", QByteArray::fromStdString(scale));
    // A desktop screen for the offscreen platform, instead of its default 800 x 600.
    // In the working folder, by a relative name: the platform's options are separated by colons, so a path
    // with a drive letter cannot be one of them.
    const QString screenFile = QStringLiteral("versions-fit-%1.json").arg(QCoreApplication::applicationPid());
    {
        QFile file(screenFile);
        if (!file.open(QIODevice::WriteOnly)) {
            return 2;
        }
        file.write(R"({"screens": [{"name": "desktop", "x": 0, "y": 0, "width": 1920, "height": 1080,)"
                   R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    }
    qputenv("QT_QPA_PLATFORM", (QStringLiteral("offscreen:configfile=") + screenFile).toLocal8Bit());
    int status = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        std::printf("scale %s: screen %dx%d\n", scale.c_str(),
                    QGuiApplication::primaryScreen()->size().width(),
                    QGuiApplication::primaryScreen()->size().height());
        status = RUN_ALL_TESTS();
    }
    QFile::remove(screenFile);
    return status;
}
