// Process start to the main window shown: the program is started again and again as a shortcut starts it,
// on Qt's offscreen platform, where it prints what its window shows as soon as the window is shown and then
// ends. Each run is timed from the start of the process to that first line (the window shown) and to the
// process's end. The first run meets cold caches (in a fresh Wine prefix Wine's and Qt's DLLs are loaded for
// the first time); the later runs are what a user meets every day. Target on Linux: < 300 ms.
// Every run has a settings, runtime and stand-in folder of its own, empty, so that nothing registered on
// this machine and no stand-in running on it changes what is measured.
//   bench_startup [--runs N] [--figures=FILE]
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/figures.h"

namespace {

constexpr int kWaitMs = 60000;
const QByteArray kShownLine = "Tiermark ran offscreen";

struct Run {
    double shownMs = -1.0;
    double endedMs = -1.0;
};

Run runOnce(const QTemporaryDir& folder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("TIERMARK_CAD_DIR"), folder.filePath(QStringLiteral("cad")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);

    Run run;
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(TIERMARK_EXE), {QStringLiteral("-platform"), QStringLiteral("offscreen")});
    if (!process.waitForStarted(kWaitMs)) {
        return run;
    }
    QByteArray output;
    while (run.shownMs < 0 && process.waitForReadyRead(kWaitMs)) {
        output += process.readAllStandardOutput();
        if (output.contains(kShownLine)) {
            run.shownMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        }
    }
    if (!process.waitForFinished(kWaitMs) && process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(kWaitMs);
        return Run{};
    }
    const double endedMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    output += process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
        !output.contains(kShownLine)) {
        return Run{};
    }
    // A window whose line came only with the end was shown no later than the end.
    run.shownMs = run.shownMs < 0 ? endedMs : run.shownMs;
    run.endedMs = endedMs;
    return run;
}

int runsArgument(const QStringList& arguments) {
    const int at = static_cast<int>(arguments.indexOf(QStringLiteral("--runs")));
    if (at < 0 || at + 1 >= arguments.size()) {
        return 11;
    }
    const int runs = arguments.at(at + 1).toInt();
    return runs >= 2 ? runs : 2;
}

void line(const bench::Samples& samples, const std::string& name, const char* target) {
    const std::vector<double>& runs = samples.at(name);
    std::printf("%-52s %10.1f %10.1f %6zu   %s\n", name.c_str(), bench::median(runs), bench::worst(runs),
                runs.size(), target);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string figures = bench::takeFiguresOption(argc, argv);
    QCoreApplication application(argc, argv);
    const int runs = runsArgument(QCoreApplication::arguments());

    bench::Samples samples;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir folder;
        if (!folder.isValid() || !QDir(folder.path()).mkpath(QStringLiteral("config")) ||
            !QDir(folder.path()).mkpath(QStringLiteral("cad"))) {
            std::fprintf(stderr, "bench_startup: no temporary folder\n");
            return 2;
        }
        QFile::setPermissions(folder.filePath(QStringLiteral("cad")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const Run run = runOnce(folder);
        if (run.endedMs < 0) {
            std::fprintf(stderr, "bench_startup: %s did not start, show its window and end cleanly\n",
                         TIERMARK_EXE);
            return 2;
        }
        const std::string which = i == 0 ? "first run" : "later runs";
        samples["process start to main window shown, " + which].push_back(run.shownMs);
        samples["process start to its end (offscreen run), " + which].push_back(run.endedMs);
    }

    std::printf("%-52s %10s %10s %6s   %s\n", "figure (ms)", "median", "worst", "runs", "target");
    line(samples, "process start to main window shown, first run", "< 300 (Linux)");
    line(samples, "process start to main window shown, later runs", "< 300 (Linux)");
    line(samples, "process start to its end (offscreen run), first run", "");
    line(samples, "process start to its end (offscreen run), later runs", "");
    return bench::writeFigures(figures, samples) ? 0 : 2;
}
