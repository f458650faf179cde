#include "common/textfile.h"
#include "http_fixture.h"
#include "launcher/ui/launcher_system.h"
#include "launcher/ui/launcher_window.h"
#include "launcher/ui/sorvik_window.h"
#include "qtcommon/close_channel.h"
#include "qtcommon/window_capture.h"
#include "quenby/ui/quenby_window.h"
#include "test_dir.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using namespace velmora;
using namespace velmora::launcher;
using velmora::testing::TempDir;

namespace {

// The Qt system with real HTTP and real closing by caption; starts are only
// recorded (no test starts a program with administrator rights).
class RecordingSystem : public QtLauncherSystem {
public:
    using QtLauncherSystem::QtLauncherSystem;
    std::vector<std::string> started;
    void start_elevated(const std::filesystem::path& program) override {
        started.push_back(program.filename().string());
    }
};

QByteArray update_list(const std::map<int, std::int64_t>& stamps) {
    QByteArray text = "Program,Stamp\r\n";
    for (int row = 1; row <= 8; ++row) {
        auto it = stamps.find(row);
        text += "row" + QByteArray::number(row) + "," + QByteArray::number(it == stamps.end() ? 0 : it->second) + "\r\n";
    }
    return text;
}

// An installed suite in a temporary folder: every program file present.
struct Suite {
    TempDir dir;
    HttpFixture server;
    Suite() {
        for (int row : {1, 2, 3, 4, 5, 6, 8}) {
            auto file = dir / "bin" / program_row(row).stamp_path;
            std::filesystem::create_directories(file.parent_path());
            textfile::write_bytes_atomic(file, "program");
        }
        std::filesystem::create_directories(dir / "data");
        textfile::write_lines(dir / "data" / "update_host", {server.base().toStdString()});
    }
    // Lists every row at its installed stamp, plus one for the rows given.
    void publish(std::initializer_list<int> newer) {
        std::map<int, std::int64_t> stamps;
        for (int row : {1, 2, 3, 4, 5, 6, 8}) stamps[row] = file_stamp(dir / "bin" / program_row(row).stamp_path);
        for (int row : newer) stamps[row] += 1;
        server.route("/updates/velmora/updates", {update_list(stamps)});
    }
};

}  // namespace

class LauncherUiTest : public QObject {
    Q_OBJECT
private slots:
    void launcher_reports_no_updates();
    void launcher_closes_the_updated_program_by_caption_and_starts_the_updater();
    void launcher_starts_quenby_first_for_an_updater_update();
    void launcher_execute_tells_when_a_program_is_not_installed();
    void sorvik_installs_the_newer_programs();
    void quenby_downloads_and_replaces_the_updater();
    void quenby_keeps_the_old_updater_on_failures();
};

void LauncherUiTest::launcher_reports_no_updates() {
    Suite suite;
    suite.publish({});
    RecordingSystem sys(nullptr, LauncherWindow::kCaption);
    ScriptedMessages msgs;
    LauncherWindow window(suite.dir / "bin", suite.dir / "data", &sys, &msgs);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(qt::save_png(&window, qt::screenshot_dir() + "/launcher.png"));
    QCOMPARE(window.windowTitle(), QString("Velmora - Orvane"));
    QCOMPARE(window.check_updates(), CheckOutcome::NoUpdates);
    QCOMPARE(msgs.texts(), std::vector<std::string>{"No updates were found"});
    QVERIFY(sys.started.empty());
    QVERIFY(std::filesystem::exists(suite.dir / "data" / "updates"));
    QVERIFY(suite.server.requests.contains("/updates/velmora/updates"));
}

void LauncherUiTest::launcher_closes_the_updated_program_by_caption_and_starts_the_updater() {
    Suite suite;
    suite.publish({2});
    // Kelvaro's main window, listening on its caption's socket.
    QWidget kelvaro;
    kelvaro.setWindowTitle("Kelvaro-Orvane");
    qt::CloseListener listener(&kelvaro, "Kelvaro-Orvane");
    QVERIFY(listener.listening());
    kelvaro.show();
    QWidget marulet;  // running, but without an update: stays open
    marulet.setWindowTitle("Marulet-Orvane");
    qt::CloseListener marulet_listener(&marulet, "Marulet-Orvane");
    marulet.show();

    RecordingSystem sys(nullptr, LauncherWindow::kCaption);
    ScriptedMessages msgs;
    msgs.answer_next(Answer::Yes);
    LauncherWindow window(suite.dir / "bin", suite.dir / "data", &sys, &msgs);
    QCOMPARE(window.check_updates(), CheckOutcome::Started);
    QCOMPARE(msgs.records().at(0).kind, std::string("question"));
    QCOMPARE(msgs.records().at(0).title, std::string("Warning"));
    QCOMPARE(sys.started, std::vector<std::string>{"Sorvik"});
    QTRY_VERIFY(!kelvaro.isVisible());
    QVERIFY(marulet.isVisible());
}

void LauncherUiTest::launcher_starts_quenby_first_for_an_updater_update() {
    Suite suite;
    suite.publish({8});
    QWidget tosquin;
    tosquin.setWindowTitle("Tosquin - Orvane");
    qt::CloseListener listener(&tosquin, "Tosquin - Orvane");
    tosquin.show();
    RecordingSystem sys(nullptr, LauncherWindow::kCaption);
    ScriptedMessages msgs;
    LauncherWindow window(suite.dir / "bin", suite.dir / "data", &sys, &msgs);
    QCOMPARE(window.check_updates(), CheckOutcome::Started);
    QCOMPARE(sys.started, (std::vector<std::string>{"Quenby", "Sorvik"}));
    QTest::qWait(50);
    QVERIFY(tosquin.isVisible());
    // Nobody listens for a caption: asking to close does nothing.
    QVERIFY(!qt::request_close("Brevant-Orvane", 200));
}

void LauncherUiTest::launcher_execute_tells_when_a_program_is_not_installed() {
    Suite suite;
    ScriptedMessages msgs;
    RecordingSystem sys(nullptr, LauncherWindow::kCaption);
    LauncherWindow window(suite.dir / "bin", suite.dir / "data", &sys, &msgs);
    std::filesystem::remove(suite.dir / "bin" / program_row(4).start_path);
    QVERIFY(window.execute_button(4));
    window.execute(4);  // Brevant is not part of this suite
    QCOMPARE(msgs.records().size(), size_t(1));
    QVERIFY(msgs.records()[0].text.rfind("Brevant is not installed", 0) == 0);
}

void LauncherUiTest::sorvik_installs_the_newer_programs() {
    Suite suite;
    suite.publish({3});
    suite.server.route("/updates/velmora/Marulet/Marulet", {"new marulet"});
    SorvikWindow window(suite.dir / "bin", suite.server.base().toStdString());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(window.log()->toPlainText().contains("The updates have been installed"));
    QVERIFY(qt::save_png(&window, qt::screenshot_dir() + "/sorvik.png"));
    QCOMPARE(textfile::read_bytes(suite.dir / "bin" / "Marulet" / "Marulet"), std::string("new marulet"));
    QCOMPARE(textfile::read_bytes(suite.dir / "bin" / "Kelvaro" / "Kelvaro"), std::string("program"));
}

void LauncherUiTest::quenby_downloads_and_replaces_the_updater() {
    TempDir dir;
    HttpFixture server;
    QByteArray body(2560000, 'u');
    server.route("/updates/velmora/Sorvik.exe", {body});
    textfile::write_bytes_atomic(dir / "Sorvik", "old updater");
    ScriptedMessages msgs;
    quenby::QuenbyWindow window(server.base() + "/updates/velmora/Sorvik.exe", dir / "Sorvik", &msgs);
    window.set_close_when_done(false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_VERIFY(!window.history().empty() && window.history().back().line2 == "The updates have been installed");
    QVERIFY(qt::save_png(&window, qt::screenshot_dir() + "/quenby.png"));
    QCOMPARE(window.windowTitle(), QString("Quenby"));
    const auto& h = window.history();
    auto downloaded = std::find_if(h.begin(), h.end(), [](const auto& v) { return v.line2 == "Downloaded"; });
    QVERIFY(downloaded != h.end());
    QCOMPARE(downloaded->maximum, std::int64_t(2500));
    QCOMPARE(downloaded->position, std::int64_t(0));
    QVERIFY(std::any_of(h.begin(), h.end(), [](const auto& v) { return v.line2.rfind("Sorvik.exe ", 0) == 0; }));
    QCOMPARE(window.bar()->maximum(), 2500);
    QVERIFY(msgs.records().empty());
    QCOMPARE(textfile::read_bytes(dir / "Sorvik").size(), size_t(2560000));
    QVERIFY((std::filesystem::status(dir / "Sorvik").permissions() & std::filesystem::perms::owner_exec) !=
            std::filesystem::perms::none);
}

void LauncherUiTest::quenby_keeps_the_old_updater_on_failures() {
    TempDir dir;
    HttpFixture server;
    server.route("/dropped", {QByteArray(500000, 'd'), 200, true});
    for (QString path : {"/missing", "/dropped"}) {
        textfile::write_bytes_atomic(dir / "Sorvik", "old updater");
        ScriptedMessages msgs;
        quenby::QuenbyWindow window(server.base() + path, dir / "Sorvik", &msgs);
        QVERIFY(!window.run());
        QCOMPARE(msgs.texts(), std::vector<std::string>{quenby::kQuenbyFailure});
        QCOMPARE(textfile::read_bytes(dir / "Sorvik"), std::string("old updater"));
        QCOMPARE(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1L);
    }
}

QTEST_MAIN(LauncherUiTest)
#include "launcher_ui_test.moc"
