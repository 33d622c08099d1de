#include "LoaderTestSupport.h"

#include <QTemporaryDir>

#include <map>
#include <memory>

using namespace loadertest;

namespace {

// What the folder holds, to the byte and to the time stamp; hidden names included.
struct FileState {
    std::string bytes;
    fs::file_time_type modified;
    fs::perms permissions;
    bool operator==(const FileState &) const = default;
};

std::map<std::string, FileState> folderState(const fs::path &dir)
{
    std::map<std::string, FileState> state;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir)) {
        const fs::path &p = entry.path();
        state[p.filename().string()] = {entry.is_regular_file() ? readBytes(p) : std::string(),
                                        fs::last_write_time(p), fs::status(p).permissions()};
    }
    return state;
}

// Puts the permissions back so the temporary folder can be removed by any user.
class WritableAgain {
public:
    explicit WritableAgain(fs::path dir) : m_dir(std::move(dir)) {}
    ~WritableAgain()
    {
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
        for (const fs::directory_entry &entry : fs::directory_iterator(m_dir, ec))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    }

private:
    fs::path m_dir;
};

} // namespace

// The program never writes into the SPAT4 client's folder: neither the start-up scan nor any
// number of loads changes a byte, a time stamp or a name there.
class LoaderReadOnlyTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installJapaneseUi(); }
    void scanAndLoadsLeaveTheFolderAsItWas();
};

void LoaderReadOnlyTest::scanAndLoadsLeaveTheFolderAsItWas()
{
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    const fs::path prefixPath = u8path(prefix.path().toStdString());
    const fs::path dir = spat4::sample::demoFolder(prefixPath);
    fs::create_directories(dir);
    const std::vector<spat4::sample::SampleFile> races = spat4::sample::demoRaces();
    for (const spat4::sample::SampleFile &race : races)
        writeSample(dir, race);
    // A second 船橋 race 10 file and a file the loader refuses, so a warning path runs too.
    spat4::sample::SampleFile extra = races.at(10);
    extra.freeChars = "99";
    writeSample(dir, extra);
    spat4::sample::SampleFile bad = races.at(0);
    bad.raceChar = '2';
    bad.runnerField = "99";
    writeSample(dir, bad);
    // Old time stamps, so a write during the test could not leave the same one behind.
    for (const fs::directory_entry &entry : fs::directory_iterator(dir))
        fs::last_write_time(entry.path(), fileTimeOf(QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5))));

    const WritableAgain restore(dir);
    for (const fs::directory_entry &entry : fs::directory_iterator(dir))
        fs::permissions(entry.path(),
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    const std::map<std::string, FileState> before = folderState(dir);
    const fs::file_time_type folderModified = fs::last_write_time(dir);
    QCOMPARE(before.size(), races.size() + 2);

#ifdef _WIN32
    // Windows has no Wine prefix to point elsewhere: its SPAT4 folder hangs off C:\. The same
    // lookup runs from the temporary prefix's drive instead.
    spat4::FolderPlaces places;
    places.driveRoot = prefixPath / "drive_c";
    const auto folder = std::make_unique<spat4::PlacesSpat4Folder>(places);
#else
    const QByteArray oldPrefix = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", prefix.path().toUtf8());
    const std::unique_ptr<spat4::Spat4Folder> folder = spat4::systemSpat4Folder();
#endif
    Module1 state;
    state.Spat4DataFlag = 1;
    spat4::scanAvailability(*folder, state.availability);
    Form1 form(state, *folder);
    form.initialiseInputs();
    form.applyVenueAvailability(state.availability);

    // Every race of the folder through the window, as a user would choose it.
    int loaded = 0;
    for (const spat4::sample::SampleFile &race : races) {
        const int venue = venueOption(form, race.venueCode);
        const int raceNumber = spat4::raceNumberOf(race.raceChar);
        QVERIFY(form.Option(venue)->isEnabled());
        form.Option(venue)->click();
        form.Option(raceNumber)->click();
        QVERIFY(form.Option(raceNumber)->isChecked());
        QCOMPARE(loadWithOk(form).size(), size_t(1));
        QCOMPARE(form.Label(18)->text(), QStringLiteral("第%1レース").arg(raceNumber));
        QCOMPARE(state.race.RunnerCount, std::stoi(race.runnerField));
        QVERIFY(fs::equivalent(u8path(state.loader.OddsFilePath).parent_path(), dir));
        ++loaded;
    }
    QCOMPARE(loaded, int(races.size()));
    // The refused file: the warning, and still nothing written.
    form.Option(21)->click();
    form.Option(2)->click();
    const std::vector<SeenBox> refused = loadWithOk(form);
    QCOMPARE(refused.size(), size_t(2));
    QVERIFY(refused[1].text.contains(QStringLiteral("出走馬数が 99 頭です")));
    // And one Cancel.
    {
        BoxAnswerer answerer({Answer::click(QMessageBox::Cancel)});
        form.LOADHO()->trigger();
        QCOMPARE(answerer.seen().size(), size_t(1));
    }

#ifndef _WIN32
    if (oldPrefix.isNull())
        qunsetenv("WINEPREFIX");
    else
        qputenv("WINEPREFIX", oldPrefix);
#endif

    QCOMPARE(folderState(dir).size(), before.size());
    QVERIFY(folderState(dir) == before);
    QVERIFY(fs::last_write_time(dir) == folderModified);
}

QTEST_MAIN(LoaderReadOnlyTest)
#include "LoaderReadOnlyTest.moc"
