#pragma once

// What the odds-loader tests share: SPAT4 fixtures written into temporary folders, a listing in
// an order the test fixes, a way to choose a race on the window, and one snapshot of everything
// the loader may write.
#include "Form1TestSupport.h"

#include "AvailabilityScan.h"
#include "FolderPlaces.h"
#include "OddsLoad.h"
#include "SampleWriter.h"
#include "Venues.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace loadertest {

namespace fs = std::filesystem;

// The venue button a user presses for a venue code: the one captioned with the venue's name.
inline int venueOption(const Form1 &form, int venueCode)
{
    const spat4::Venue *venue = spat4::venueOf(venueCode);
    if (venue == nullptr)
        throw std::invalid_argument("no venue has code " + std::to_string(venueCode));
    for (int option : {21, 22, 23, 24})
        if (form.Option(option)->text() == QString::fromUtf8(venue->name))
            return option;
    throw std::invalid_argument("no venue button reads " + std::string(venue->name));
}

// A listing whose order the test decides, as a folder on disk cannot promise; its files are read
// with the program's pauses, and whileOpen and betweenLooks (where set) act as the SPAT4 client
// each time the loader has a file open, and at the start of each pause between two looks.
class ListedFolder : public spat4::Spat4Folder, private spat4::ReadPacing {
public:
    std::vector<spat4::FolderEntry> entries;
    std::function<void()> whileOpen, betweenLooks;
    std::vector<spat4::FolderEntry> list() const override { return entries; }
    const spat4::ReadPacing &readPacing() const override { return *this; }

private:
    void whileFileOpen() const override
    {
        if (whileOpen)
            whileOpen();
    }
    void pause(std::chrono::milliseconds length) const override
    {
        if (betweenLooks)
            betweenLooks();
        spat4::ReadPacing::pause(length);
    }
};

// A race of 船橋 (Option24), race 11 (Option11, character B) with plain ASCII fields, so every
// field lies at the byte its character position names.
inline spat4::sample::SampleFile funabashi11(int runners)
{
    spat4::sample::SampleFile file;
    file.venueCode = 57;
    file.raceChar = 'B';
    file.freeChars = "01";
    file.title = "  TEST CUP";
    file.runnerField = std::to_string(runners);
    for (int k = 1; k <= 16; ++k)
        file.records.push_back({std::to_string(k) + ".1", std::to_string(k) + ".9"});
    return file;
}

// The fixtures are built from fields the writer accepts; a refusal is a broken test.
inline std::string bytesOf(const spat4::sample::SampleFile &file)
{
    auto bytes = spat4::sample::sampleFileBytes(file);
    if (const auto *e = std::get_if<spat4::sample::SampleError>(&bytes))
        throw std::runtime_error(e->message);
    return std::get<std::string>(std::move(bytes));
}

inline fs::path writeBytes(const fs::path &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
    return path;
}

inline fs::path writeSample(const fs::path &folder, const spat4::sample::SampleFile &file)
{
    return writeBytes(folder / spat4::sample::sampleFileName(file), bytesOf(file));
}

inline std::string readBytes(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline fs::path u8path(std::string_view utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// A local date and time as a file time, so a fixture's time stamp is one the test knows.
inline fs::file_time_type fileTimeOf(const QDateTime &local)
{
    const std::chrono::sys_time<std::chrono::milliseconds> sys{
        std::chrono::milliseconds(local.toMSecsSinceEpoch())};
    return std::chrono::time_point_cast<fs::file_time_type::duration>(
        std::chrono::file_clock::from_sys(sys));
}

// Chooses a venue and a race the way the program can: the buttons are set checked whatever
// their enabled state (0 leaves that group without a selection).
inline void select(Form1 &form, int venueOptionNumber, int raceOptionNumber)
{
    if (venueOptionNumber != 0)
        form.Option(venueOptionNumber)->setChecked(true);
    if (raceOptionNumber != 0)
        form.Option(raceOptionNumber)->setChecked(true);
}

// Gives every target of the loader a value no load would write, so a change shows. The
// previous-race boxes take two characters, the odds boxes five.
inline void presetEverything(Form1 &form, Module1 &state)
{
    for (int column = 1; column <= 5; ++column)
        for (int row = 1; row <= Form1::kRows; ++row)
            form.Text(column, row)
                ->setText(column <= 3
                              ? QStringLiteral("%1%2").arg(QChar(u'a' + column - 1)).arg(row, 0, 16)
                              : QStringLiteral("%1.%2").arg(column).arg(row));
    form.Label(1)->setText(QStringLiteral("before-1"));
    form.Label(17)->setText(QStringLiteral("before-17"));
    form.Label(18)->setText(QStringLiteral("before-18"));
    form.Label(22)->setText(QStringLiteral("before-22"));
    form.selectRunnerCount(13);
    for (int i = 0; i <= 20; ++i) {
        state.race.PlaceOddsLow[i] = -100.25 - i;
        state.race.PlaceOddsHigh[i] = -200.5 - i;
    }
    spat4::LoaderState &loader = state.loader;
    loader.OddsFilePath = "before-path";
    loader.OddsHeaderText = "before-header";
    for (int i = 0; i <= 20; ++i) {
        loader.PlaceLowText[i] = "low-" + std::to_string(i);
        loader.PlaceHighText[i] = "high-" + std::to_string(i);
    }
    loader.RaceCharText = "Z";
    loader.RaceNumber = 99;
}

// Everything the loader may write, one "name=value" line each, so a difference names itself.
inline QStringList snapshot(const Form1 &form, const Module1 &state)
{
    QStringList s;
    for (int column = 1; column <= 5; ++column)
        for (int row = 1; row <= Form1::kRows; ++row)
            s << QStringLiteral("Text%1(%2)=%3")
                     .arg(column)
                     .arg(row)
                     .arg(form.Text(column, row)->text());
    for (int n : {1, 17, 18, 22})
        s << QStringLiteral("Label%1=%2").arg(n).arg(form.Label(n)->text());
    s << QStringLiteral("Combo1=%1").arg(form.Combo1()->currentIndex());
    s << QStringLiteral("RunnerCount=%1").arg(state.race.RunnerCount);
    for (int i = 0; i <= 20; ++i) {
        s << QStringLiteral("PlaceOddsLow(%1)=%2")
                 .arg(i)
                 .arg(state.race.PlaceOddsLow[i], 0, 'g', 17);
        s << QStringLiteral("PlaceOddsHigh(%1)=%2")
                 .arg(i)
                 .arg(state.race.PlaceOddsHigh[i], 0, 'g', 17);
    }
    const spat4::LoaderState &loader = state.loader;
    s << QStringLiteral("OddsFilePath=") + QString::fromStdString(loader.OddsFilePath);
    s << QStringLiteral("OddsHeaderText=") + QString::fromStdString(loader.OddsHeaderText);
    for (int i = 0; i <= 20; ++i) {
        s << QStringLiteral("PlaceLowText(%1)=").arg(i) +
                 QString::fromStdString(loader.PlaceLowText[i]);
        s << QStringLiteral("PlaceHighText(%1)=").arg(i) +
                 QString::fromStdString(loader.PlaceHighText[i]);
    }
    s << QStringLiteral("RaceCharText=") + QString::fromStdString(loader.RaceCharText);
    s << QStringLiteral("RaceNumber=%1").arg(loader.RaceNumber);
    return s;
}

// LOADHO chosen and its confirmation answered OK; a second box, if any, is answered OK too so
// an unexpected warning shows up in the boxes seen instead of hanging the test.
inline std::vector<SeenBox> loadWithOk(Form1 &form)
{
    BoxAnswerer answerer({Answer::click(QMessageBox::Ok), Answer::click(QMessageBox::Ok)});
    form.LOADHO()->trigger();
    return answerer.seen();
}

// Each test function gets a fresh window over a fake folder, and an empty temporary folder for
// the files it writes.
class LoaderTestCase : public Form1TestCase<ListedFolder> {
protected:
    void makeWindow()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_folder.entries.clear();
        m_folder.whileOpen = nullptr;
        m_folder.betweenLooks = nullptr;
        Form1TestCase::makeWindow();
    }
    void dropWindow()
    {
        Form1TestCase::dropWindow();
        m_dir.reset();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

} // namespace loadertest
