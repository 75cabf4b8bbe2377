#include "tools/road/faults.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/platform.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "common/utf.h"
#include "numbered/forms/numbered_layer_form.h"
#include "stddb/jet_workspace.h"
#include "stddb/qt_settings_store.h"
#include "stddb/settings_store.h"
#include "tools/road/file_lock.h"
#include "tools/road/stand_in_control.h"
#include "ui/recording_dialogs.h"

namespace road {
namespace {

// A faulty stand-in must not hold a step up longer than this; the sends of one step are bounded by the
// window system (a few seconds each, and a hung window is given up at once after the first).
constexpr qint64 kStepLimitMs = 60000;

void settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

std::string oneLine(std::u16string text) {
    for (char16_t& c : text) {
        if (c == u'\r' || c == u'\n') {
            c = u'/';
        }
    }
    return tiermark::toUtf8(text);
}

// One stand-in process of a scenario.
class StandIn {
public:
    StandIn(const QString& program, const QString& title, const QStringList& extra = {}) : m_title(title) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.start(program,
                        QStringList{QStringLiteral("--headless"), QStringLiteral("--title"), title} + extra);
        m_started = m_process.waitForStarted(10000);
    }
    ~StandIn() { stop(); }
    bool started() const { return m_started; }
    const QString& title() const { return m_title; }
    QString line() const { return QLatin1Char('[') + m_title + QLatin1Char(']'); }
    std::uint32_t processId() const { return static_cast<std::uint32_t>(m_process.processId()); }
    void stop() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // The texts the stand-in's command line has taken, from its state.
    int historyLength() {
        auto state = StandInControl(processId()).state();
        return state ? static_cast<int>(state->object().value(QStringLiteral("history")).toArray().size())
                     : -1;
    }

private:
    QString m_title;
    QProcess m_process;
    bool m_started = false;
};

// The program as the user starts it, with private settings and scripted dialogs.
struct Session {
    explicit Session(const QString& folder)
        : settings(QDir(folder).filePath(QStringLiteral("settings.ini"))),
          program(core::Services{*backend.windows, workspace, settings, dialogs, backend.drawing.get()}) {}

    app::PlatformBackend backend = app::makePlatformBackend();
    stddb::JetWorkspace workspace;
    stddb::QtSettingsStore settings;
    ui::RecordingDialogs dialogs;
    app::Tiermark program;

    app::Form1& form1() { return program.forms().form1(); }

    // Discovery until the drawing list shows every one of the lines; false when they did not all appear.
    bool discover(const QStringList& lines) {
        ours = lines;
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 15000) {
            form1().Form_Load();
            int found = 0;
            for (int i = 0; i < form1().cmbfilename->listCount(); ++i) {
                found += lines.contains(QString::fromStdU16String(form1().cmbfilename->itemText(i))) ? 1 : 0;
            }
            if (found == lines.size()) {
                return true;
            }
            QThread::msleep(100);
        }
        return false;
    }
    bool select(const QString& line) {
        for (int i = 0; i < form1().cmbfilename->listCount(); ++i) {
            if (QString::fromStdU16String(form1().cmbfilename->itemText(i)) == line) {
                form1().cmbfilename->setListIndex(i);
                return true;
            }
        }
        return false;
    }
    // "Tiermarkメニュー" with this database registered; the builder, or null.
    builder::UserForm1* openBuilder(const QString& database) {
        if (!settings.SaveSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath,
                                  database.toStdU16String())) {
            std::printf("  the database could not be registered in the road's settings\n");
            return nullptr;
        }
        form1().Command1_Click();
        settle();
        return program.forms().userForm1IfLoaded();
    }
    // Lines of the drawing list that are not this run's stand-ins: CAD programs (or other stand-ins) that run
    // on this machine besides. They change the guidance ("several AutoCAD LT running").
    int others() {
        int count = 0;
        for (int i = 0; i < form1().cmbfilename->listCount(); ++i) {
            count += ours.contains(QString::fromStdU16String(form1().cmbfilename->itemText(i))) ? 0 : 1;
        }
        return count;
    }
    // What the user saw: every message and every window that opened by itself.
    void report() {
        for (const std::u16string& message : dialogs.texts()) {
            std::printf("  message: %s\n", oneLine(message).c_str());
        }
        for (const QString& form : dialogs.modalForms) {
            std::printf("  window shown: %s\n", qPrintable(form));
        }
        std::printf("  guidance%s: %s\n", others() > 0 ? " (with other CAD programs running)" : "",
                    oneLine(form1().Label3->caption()).c_str());
    }

    QStringList ours;
};

struct Outcome {
    int passes = 0;
    int failures = 0;
    void expect(bool ok, const char* what) {
        std::printf("  %s %s\n", ok ? "ok  " : "FAIL", what);
        (ok ? passes : failures) += 1;
    }
};

QString scenarioFolder(const RoadOptions& options, const char* name) {
    const QString folder = QDir(options.workDirectory).filePath(QString::fromUtf8(name));
    QDir().mkpath(folder);
    return folder;
}

// The builder's start-up with a database that cannot be used: it falls back to the built-in stages and
// offers the settings window; nothing else happens and nothing hangs.
void databaseScenario(const RoadOptions& options, StandIn& standIn, const char* name, const QString& database,
                      bool usable, Outcome& outcome) {
    std::printf("\nscenario %s\n", name);
    Session session(scenarioFolder(options, name));
    if (!session.discover({standIn.line()}) || !session.select(standIn.line())) {
        outcome.expect(false, "the stand-in is found");
        return;
    }
    builder::UserForm1* builder = session.openBuilder(database);
    const int kinds = builder == nullptr ? -1 : builder->ListBox2->listCount();
    const int stages = builder == nullptr ? -1 : builder->ListBox1->listCount();
    session.report();
    std::printf("  construction kinds listed: %d, life-cycle stages listed: %d\n", kinds, stages);
    if (usable) {
        outcome.expect(kinds > 0, "the database's construction kinds are listed");
    } else {
        outcome.expect(kinds == 0 && stages == 4, "the builder falls back to the built-in stages");
        outcome.expect(std::count(session.dialogs.modalForms.begin(), session.dialogs.modalForms.end(),
                                  QStringLiteral("UserForm3")) > 0,
                       "the settings window is offered");
    }
    session.form1().close();
}

// Layer creation in the builder, with a step for the numbered-layer form; the builder as the road leaves
// it (stage, kind, work type and drawing kind chosen).
builder::UserForm1* chooseDrawingKind(Session& session, const QString& database) {
    builder::UserForm1* builder = session.openBuilder(database);
    if (builder == nullptr || builder->ListBox2->listCount() == 0) {
        return nullptr;
    }
    builder->ListBox1->setListIndex(1);
    builder->ListBox2->setListIndex(0);
    builder->ListBox3->setListIndex(0);
    builder->ListBox4->setListIndex(0);
    return builder;
}

// The stand-in closes while layer creation is running (when the numbered-layer form is open): the rest of
// the sequence goes nowhere, silently and at once.
void closedScenario(const RoadOptions& options, Outcome& outcome) {
    std::printf("\nscenario stand-in closed during layer creation\n");
    StandIn standIn(options.acadlt,
                    QStringLiteral("Faults-closed-%1.dwg").arg(QCoreApplication::applicationPid()));
    Session session(scenarioFolder(options, "closed"));
    if (!standIn.started() || !session.discover({standIn.line()}) || !session.select(standIn.line())) {
        outcome.expect(false, "the stand-in is found");
        return;
    }
    builder::UserForm1* builder = chooseDrawingKind(session, options.database);
    if (builder == nullptr) {
        outcome.expect(false, "the builder lists the database");
        return;
    }
    bool closedInTheMiddle = false;
    session.dialogs.onForm(QStringLiteral("UserForm2"), [&](QDialog& form) {
        closedInTheMiddle = standIn.historyLength() > 0;
        standIn.stop();
        auto& numberedForm = static_cast<numbered::UserForm2&>(form);
        numberedForm.TextBox1->setText(QStringLiteral("追加"));
        numberedForm.ListBox1->setListIndex(1);
        numberedForm.CommandButton1_Click();
        numberedForm.CommandButton2_Click();
    });
    QElapsedTimer timer;
    timer.start();
    builder->CommandButton1_Click();
    settle();
    const qint64 elapsed = timer.elapsed();
    session.report();
    std::printf("  layers offered in the main window: %s\n",
                session.form1().Combo1->listCount() > 0 ? "some" : "none");
    outcome.expect(closedInTheMiddle, "the stand-in had taken texts before it closed");
    outcome.expect(elapsed < kStepLimitMs, "layer creation ends although the stand-in is gone");
    session.form1().close();
}

// A stand-in whose window procedure does not return: each text is given up after the send bound, the
// layer change is started all the same and the program stays usable.
void hungScenario(const RoadOptions& options, Outcome& outcome) {
    std::printf("\nscenario stand-in hung\n");
    StandIn standIn(options.acadlt,
                    QStringLiteral("Faults-hung-%1.dwg").arg(QCoreApplication::applicationPid()),
                    {QStringLiteral("--hang=30000")});
    Session session(scenarioFolder(options, "hung"));
    if (!standIn.started() || !session.discover({standIn.line()}) || !session.select(standIn.line())) {
        outcome.expect(false, "the stand-in is found");
        return;
    }
    QElapsedTimer timer;
    timer.start();
    session.form1().Command2_Click(0);
    settle();
    const qint64 elapsed = timer.elapsed();
    session.report();
    outcome.expect(elapsed < kStepLimitMs, "\"レイヤー変更\" returns although the stand-in hangs");
    session.form1().close();
    standIn.stop();
}

// Two stand-ins: both are listed, the one found last is selected, and the texts go to the line chosen.
void twoStandInsScenario(const RoadOptions& options, Outcome& outcome) {
    std::printf("\nscenario two stand-ins\n");
    const qint64 pid = QCoreApplication::applicationPid();
    StandIn first(options.acadlt, QStringLiteral("Faults-first-%1.dwg").arg(pid));
    if (first.started()) {
        QThread::msleep(300);  // one after the other, as a user starts them
    }
    StandIn second(options.acadlt, QStringLiteral("Faults-second-%1.dwg").arg(pid));
    Session session(scenarioFolder(options, "two"));
    if (!first.started() || !second.started() || !session.discover({first.line(), second.line()})) {
        outcome.expect(false, "both stand-ins are found");
        return;
    }
    app::Form1& form1 = session.form1();
    const QString selected = QString::fromStdU16String(form1.cmbfilename->text());
    const int others = session.others();
    std::printf("  drawings listed: %d%s; selected: the %s one\n", form1.cmbfilename->listCount() - others,
                others > 0 ? " (and other CAD programs)" : "",
                selected == second.line()  ? "second"
                : selected == first.line() ? "first"
                                           : "other");
    session.select(first.line());
    const int firstBefore = first.historyLength();
    const int secondBefore = second.historyLength();
    form1.Command2_Click(0);
    settle();
    session.report();
    const int firstTook = first.historyLength() - firstBefore;
    const int secondTook = second.historyLength() - secondBefore;
    std::printf("  texts taken by the first: %s, by the second: %s\n", firstTook > 0 ? "yes" : "no",
                secondTook > 0 ? "yes" : "no");
    // Another CAD program started later than ours would be found last (POSIX systems list by process id).
    outcome.expect(selected == second.line() || (others > 0 && selected != first.line()),
                   "the stand-in started last is selected at start-up");
    outcome.expect(firstTook > 0 && secondTook == 0, "the texts go to the drawing chosen in the list");
    form1.close();
}

}  // namespace

int runFaults(const RoadOptions& options) {
    Outcome outcome;
    QDir work(options.workDirectory);
    work.mkpath(QStringLiteral("cad"));
    QFile::setPermissions(work.filePath(QStringLiteral("cad")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("TIERMARK_CAD_DIR", work.filePath(QStringLiteral("cad")).toLocal8Bit());

    // The databases of the scenarios: the sample in folders with Japanese names and blanks, a path that
    // does not exist, a file that is no database, and the sample locked by another program.
    const QString japaneseFolder = work.filePath(QStringLiteral("図面 データ/標準 データベース"));
    work.mkpath(japaneseFolder);
    const QString japanese = QDir(japaneseFolder).filePath(QStringLiteral("Tiermark.MDB"));
    const QString locked = work.filePath(QStringLiteral("施錠済み Tiermark.MDB"));
    const QString notADatabase = work.filePath(QStringLiteral("壊れた Tiermark.MDB"));
    QFile::copy(options.database, japanese);
    QFile::copy(options.database, locked);
    QFile broken(notADatabase);
    if (broken.open(QIODevice::WriteOnly)) {
        broken.write(QByteArray(8192, 'x'));
        broken.close();
    }

    StandIn standIn(options.acadlt, QStringLiteral("Faults-%1.dwg").arg(QCoreApplication::applicationPid()));
    if (!standIn.started()) {
        std::printf("Could not start the CAD stand-in %s\n", qPrintable(options.acadlt));
        return 2;
    }
    databaseScenario(options, standIn, "database in folders with Japanese names and blanks", japanese, true,
                     outcome);
    databaseScenario(options, standIn, "database missing",
                     work.filePath(QStringLiteral("無い フォルダ/Tiermark.MDB")), false, outcome);
    databaseScenario(options, standIn, "database unreadable (not a database)", notADatabase, false, outcome);
    {
        FileLock lock(locked);
        // Where locks keep readers out (Windows), the locked file is unusable; elsewhere they only advise.
        databaseScenario(options, standIn, "database locked by another program", locked,
                         !lock.held() || !FileLock::kKeepsReadersOut, outcome);
    }
    standIn.stop();

    closedScenario(options, outcome);
    hungScenario(options, outcome);
    twoStandInsScenario(options, outcome);

    std::printf("\n%d passed, %d failed\n", outcome.passes, outcome.failures);
    return outcome.failures == 0 ? 0 : 1;
}

}  // namespace road
