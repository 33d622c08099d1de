#include "LoaderTestSupport.h"

#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#endif

using namespace loadertest;

namespace {

// How the row's file stands in the folder when LOADHO runs.
enum class Placement {
    File,                // an ordinary file with the row's bytes
    Directory,           // a folder with the file's name, no file
    NoReadPermission,    // the row's bytes, mode 000
    Sparse100MB,         // the row's bytes, then grown to 100 MB of holes
    RemovedAfterListing, // listed, then removed before the read
    FolderAfterListing,  // listed, then replaced by a folder of the same name
    // The SPAT4 client at work on the file during the load:
    HeldForWriting,   // open for writing, sharing reading, for the whole load
    HeldUnshared,     // open for writing with no sharing at all (Windows; elsewhere skipped)
    RewrittenAgain,   // rewritten in place, the row's bytes and the other version in turn
    DeletedWhileOpen, // deleted while the loader has it open
    RenamedWhileOpen, // renamed away while the loader has it open
    // The other version renamed over it between two looks. (Windows refuses to replace a file
    // that any handle holds open, whatever its sharing, unless the rename asks for POSIX
    // semantics: that is why each look closes the file at once.)
    ReplacedBetweenLooks,
    // Deleted between two looks and the other version written 100 ms later. On Windows a handle
    // of the client's own keeps the deleted file, its deletion pending, for the first 50 ms
    // (clientDeletesWhileHolding).
    DeletedAndWrittenAnew,
    // Cut to nothing between two looks and the other version written 200 ms later.
    TruncatedAndWrittenAgain,
};

const QString kName = QStringLiteral("ZO-5701B.PAT");

QString noData()
{
    return QStringLiteral("読込データがありませんでした。");
}
QString tooShort()
{
    return QStringLiteral(
               "オッズデータのファイルが短すぎます。ファイルが壊れている可能性があります。\n") +
           kName;
}
QString unreadable()
{
    return QStringLiteral("オッズデータのファイルを読み込めませんでした。\n") + kName;
}
QString noCount(const QString &field)
{
    return QStringLiteral("オッズデータの出走馬数「%1」が読み取れませんでした。"
                          "ファイルが壊れている可能性があります。")
        .arg(field);
}
QString countOutside(int count)
{
    return QStringLiteral("オッズデータの出走馬数が %1 頭です。8～16頭のレースだけ読み込めます。")
        .arg(count);
}
QString notSettled()
{
    return QStringLiteral("オッズデータのファイルが書き込み中のため読み込めませんでした。"
                          "しばらく待ってから、もう一度読み込んで下さい。\n") +
           kName;
}
QString badOdds(int horse)
{
    return QStringLiteral("オッズデータの%1番の複勝オッズが表示できない値です。").arg(horse);
}

// The good file every row starts from: 船橋 race 11, 8 runners, title "  TEST CUP", horse k's
// odds "k.1" and "k.9". Its header is single-byte, so characters sit at their byte offsets.
QByteArray base()
{
    const std::string bytes = bytesOf(funabashi11(8));
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// Byte offsets (from 0) of the fields in base().
constexpr int kTitleAt = 68, kTitleWidth = 19;
constexpr int kRunnerCountAt = 154;
constexpr int kOddsAt = 675;
constexpr int lowOddsAt(int horse)
{
    return kOddsAt + 17 * (horse - 1) + 7;
}
constexpr int highOddsAt(int horse)
{
    return lowOddsAt(horse) + 5;
}

QByteArray with(QByteArray bytes, int at, const QByteArray &replacement)
{
    return bytes.replace(at, replacement.size(), replacement);
}

const QString kTitle = QStringLiteral("TEST CUP") + QString(9, QLatin1Char(' '));

// A second version of the same race, different in the header (9 runners, title "OTHER CUP")
// and in the odds (horse k's low odds "k.2"), so a file with the header of one and the odds of
// the other shows.
QByteArray otherVersion()
{
    spat4::sample::SampleFile file = funabashi11(9);
    file.title = "  OTHER CUP";
    for (int k = 1; k <= 16; ++k)
        file.records[static_cast<std::size_t>(k - 1)].low = std::to_string(k) + ".2";
    const std::string bytes = bytesOf(file);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
const QString kOtherTitle = QStringLiteral("OTHER CUP") + QString(8, QLatin1Char(' '));

// The SPAT4 client's handle on the file, open for writing while it lives. On Windows it shares
// what shareMode says (FILE_SHARE_*); elsewhere there is nothing to share or withhold.
class ClientHandle {
public:
    ClientHandle(const fs::path &path, unsigned long shareMode)
    {
#ifdef _WIN32
        m_handle = CreateFileW(path.c_str(), GENERIC_WRITE, shareMode, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
#else
        (void)shareMode;
        m_fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
#endif
    }
    ~ClientHandle()
    {
#ifdef _WIN32
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
#else
        if (m_fd >= 0)
            ::close(m_fd);
#endif
    }
    ClientHandle(const ClientHandle &) = delete;
    ClientHandle &operator=(const ClientHandle &) = delete;
    bool isOpen() const
    {
#ifdef _WIN32
        return m_handle != INVALID_HANDLE_VALUE;
#else
        return m_fd >= 0;
#endif
    }

private:
#ifdef _WIN32
    HANDLE m_handle = INVALID_HANDLE_VALUE;
#else
    int m_fd = -1;
#endif
};

#ifdef _WIN32
constexpr unsigned long kShareRead = FILE_SHARE_READ;
constexpr unsigned long kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
#else
constexpr unsigned long kShareRead = 1, kShareAll = 7;
#endif

// What the client's own calls say: empty when the deletion or rename went through. On Windows
// the calls the client makes, with its error code; elsewhere std::filesystem's.
QString clientDeletes(const fs::path &path)
{
#ifdef _WIN32
    if (!DeleteFileW(path.c_str()))
        return QStringLiteral("DeleteFileW failed with error %1").arg(GetLastError());
    return {};
#else
    std::error_code ec;
    fs::remove(path, ec);
    return ec ? QString::fromStdString(ec.message()) : QString();
#endif
}
QString clientRenames(const fs::path &from, const fs::path &to)
{
#ifdef _WIN32
    if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
        return QStringLiteral("MoveFileExW failed with error %1").arg(GetLastError());
    return {};
#else
    std::error_code ec;
    fs::rename(from, to, ec);
    return ec ? QString::fromStdString(ec.message()) : QString();
#endif
}

// The client writing the file anew, or cutting it to nothing (bytes empty).
QString clientWrites(const fs::path &path, const QByteArray &bytes)
{
    try {
        writeBytes(path, bytes.toStdString());
        return {};
    } catch (const std::runtime_error &error) {
        return QString::fromStdString(error.what());
    }
}

// The client deleting the file while a handle of its own (or a virus scanner's) holds it. Windows
// keeps such a file, its deletion pending, until that handle closes (held reset), and refuses to
// open it meanwhile with access denied; where the deletion has POSIX semantics the name is gone at
// once. Wine opens a file whose deletion is pending as if it were not deleted: there the handle
// is closed at once, and the row is a plain deletion.
QString clientDeletesWhileHolding(const fs::path &path, std::unique_ptr<ClientHandle> &held)
{
    held = std::make_unique<ClientHandle>(path, kShareAll);
    if (!held->isOpen())
        return QStringLiteral("the client's handle did not open");
    if (QString error = clientDeletes(path); !error.isEmpty())
        return error;
#ifdef _WIN32
    const HANDLE again = CreateFileW(path.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    if (again != INVALID_HANDLE_VALUE) {
        CloseHandle(again);
        held.reset();
        qInfo("a file whose deletion is pending still opens here (as under Wine): the client's "
              "handle is closed at once");
    } else if (error != ERROR_ACCESS_DENIED && error != ERROR_FILE_NOT_FOUND) {
        return QStringLiteral("opening a deleted file gave error %1").arg(error);
    }
#endif
    return {};
}

// The client rewriting the file in place, the two versions in turn, each rewrite in two writes
// a few milliseconds apart (the header part, then the odds part), as a client that writes a file
// in pieces does: bursts of rewrites with rests at one whole version between them, until it is
// destroyed. It opens the file anew for each write, as the sharing of the loader's looks must
// allow; an open or write that fails is counted.
class Rewriter {
public:
    Rewriter(fs::path path, QByteArray first, QByteArray second)
        : m_path(std::move(path)), m_versions{std::move(first), std::move(second)},
          m_thread([this] { run(); })
    {
    }
    ~Rewriter()
    {
        m_stop = true;
        m_thread.join();
    }
    Rewriter(const Rewriter &) = delete;
    Rewriter &operator=(const Rewriter &) = delete;
    int failedWrites() const { return m_failed; }
    int rewrites() const { return m_rewrites; }

private:
    void writeAt(qsizetype at, const QByteArray &bytes)
    {
        std::fstream out(m_path, std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(at);
        out.write(bytes.constData(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out)
            ++m_failed;
    }
    void run()
    {
        using namespace std::chrono_literals;
        constexpr qsizetype kSplit = 675; // where the odds window starts
        int version = 0;
        while (!m_stop) {
            // An odd number, so the rests fall on each version in turn.
            for (int i = 0; i < 13 && !m_stop; ++i) {
                version = 1 - version;
                const QByteArray &bytes = m_versions[version];
                writeAt(0, bytes.left(kSplit));
                std::this_thread::sleep_for(3ms);
                writeAt(kSplit, bytes.mid(kSplit));
                ++m_rewrites;
                std::this_thread::sleep_for(3ms);
            }
            for (int i = 0; i < 12 && !m_stop; ++i)
                std::this_thread::sleep_for(10ms);
        }
    }

    fs::path m_path;
    QByteArray m_versions[2];
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_failed{0};
    std::atomic<int> m_rewrites{0};
    std::thread m_thread; // last: it starts once the rest is made
};

// Everything the loader may write but the file's time stamp, which a rewrite changes.
QStringList withoutTimeStamp(QStringList lines)
{
    lines.removeIf([](const QString &line) { return line.startsWith(QLatin1String("Label1=")); });
    return lines;
}

// While it lives, the calling thread is held to files' permission bits like any user, root
// included: it sets aside the capabilities that override them (CAP_DAC_OVERRIDE and
// CAP_DAC_READ_SEARCH) and takes them back at the end. The loader reads on this thread, so a file
// of mode 000 is one it cannot open. Nothing to set aside where the system has no such thing.
class PermissionBitsHold {
public:
    PermissionBitsHold()
    {
#ifdef __linux__
        if (syscall(SYS_capget, &m_header, m_had) != 0)
            return;
        __user_cap_data_struct held[_LINUX_CAPABILITY_U32S_3] = {m_had[0], m_had[1]};
        for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
            held[CAP_TO_INDEX(capability)].effective &= ~CAP_TO_MASK(capability);
        m_held = syscall(SYS_capset, &m_header, held) == 0;
#endif
    }
    ~PermissionBitsHold()
    {
#ifdef __linux__
        if (m_held)
            syscall(SYS_capset, &m_header, m_had);
#endif
    }
    PermissionBitsHold(const PermissionBitsHold &) = delete;
    PermissionBitsHold &operator=(const PermissionBitsHold &) = delete;

private:
#ifdef __linux__
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_had[_LINUX_CAPABILITY_U32S_3]{};
    bool m_held = false;
#endif
};

} // namespace

Q_DECLARE_METATYPE(Placement)

// Files that cannot be loaded, or only just can: one row per kind, the message the user sees,
// and proof that a refused load changes nothing on screen or in the program's state.
class LoaderBadFileTest : public LoaderTestCase {
    Q_OBJECT
private slots:
    void initTestCase() { installJapaneseUi(); }
    void init();
    void cleanup();

    void badFile_data();
    void badFile();

private:
    void rewrittenAgain(const fs::path &path, const QByteArray &first, const QByteArray &second,
                        const QString &warning);
};

void LoaderBadFileTest::init()
{
    makeWindow();
}

void LoaderBadFileTest::cleanup()
{
    dropWindow();
}

void LoaderBadFileTest::badFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Placement>("placement");
    QTest::addColumn<QString>("message");  // empty: the file loads
    QTest::addColumn<int>("runners");      // when it loads
    QTest::addColumn<QString>("title");    // when it loads
    QTest::addColumn<QString>("horse1");   // Text4 of row 1, when it loads
    QTest::addColumn<QByteArray>("other"); // the client's other version, where the row has one

    const QByteArray good = base();
    const auto refused = [](const char *name, const QByteArray &bytes, const QString &message,
                            Placement placement = Placement::File) {
        QTest::newRow(name) << bytes << placement << message << 0 << QString() << QString()
                            << QByteArray();
    };
    const auto loads = [](const char *name, const QByteArray &bytes, int runners,
                          const QString &title = kTitle, const QString &horse1 = "1.1",
                          Placement placement = Placement::File) {
        QTest::newRow(name) << bytes << placement << QString() << runners << title << horse1
                            << QByteArray();
    };

    // Length.
    refused("empty file", QByteArray(), tooShort());
    refused("599 characters", good.left(599), tooShort());
    refused("header window only", good.left(600), tooShort());
    refused("675 bytes, odds window empty", good.left(675), tooShort());
    refused("946 bytes, one short of the odds window", good.left(946), tooShort());
    loads("947 bytes, just long enough", good.left(947), 8);
    refused("599 double-byte characters", QByteArray(599 * 2, '\x88'), tooShort());

    // Double-byte characters where a window starts or ends.
    loads("double-byte character across byte 676", with(good, 674, "\x83\x83"), 8);
    loads("file ends inside a double-byte character", good.left(946) + '\x82', 8);
    refused("odds window cut by a lead byte at byte 946", good.left(945) + '\x82', tooShort());

    // Bytes that are not Shift-JIS.
    refused("lone lead byte in the runner count", with(good, kRunnerCountAt, "\x82"),
            noCount(QStringLiteral("\uFFFD8")));
    loads("lone lead byte inside an odds field", with(good, lowOddsAt(1) + 3, "\x82"), 8, kTitle,
          "1");
    loads("title of invalid bytes", with(good, kTitleAt, QByteArray(kTitleWidth, '\xFF')), 8,
          QString(kTitleWidth, QChar(0xFFFD)));
    loads("title of 0x80 and 0xA0", with(good, kTitleAt, QByteArray("\x80\xA0")), 8,
          QStringLiteral("\uFFFD\uFFFDTEST CUP") + QString(9, QLatin1Char(' ')));

    // NUL bytes read like any other character: nothing where nothing is read, no number where a
    // number is.
    loads("NUL bytes in the unread parts",
          with(with(good, 0, QByteArray(kTitleAt, '\0')), 600, QByteArray(kOddsAt - 600, '\0')), 8);
    refused("NUL bytes throughout", QByteArray(good.size(), '\0'), noCount(QString(2, QChar(0))));
    loads("NUL bytes as odds", with(good, lowOddsAt(1), QByteArray(5, '\0')), 8, kTitle, "0");

    // The runner-count field: two characters, 8 to 16 after rounding.
    refused("runner count blank", with(good, kRunnerCountAt, "  "), noCount("  "));
    refused("runner count 7", with(good, kRunnerCountAt, " 7"), countOutside(7));
    refused("runner count 0", with(good, kRunnerCountAt, " 0"), countOutside(0));
    refused("runner count 17", with(good, kRunnerCountAt, "17"), countOutside(17));
    refused("runner count -8", with(good, kRunnerCountAt, "-8"), countOutside(-8));
    refused("runner count 7.5 cut to 7.", with(good, kRunnerCountAt, "7.5"), countOutside(7));
    refused("runner count of a sign alone", with(good, kRunnerCountAt, " -"), noCount(" -"));
    refused("runner count in full-width digits", with(good, kRunnerCountAt, "\x82\x50\x82\x51"),
            noCount(QStringLiteral("１２")));
    loads("runner count 9 and a blank", with(good, kRunnerCountAt, "9 "), 9);
    loads("runner count 16", with(good, kRunnerCountAt, "16"), 16);
    // Only two characters are read, so a longer text is cut where the field ends.
    loads("runner count 8.5 reads as 8.", with(good, kRunnerCountAt, "8.5"), 8);
    loads("runner count 16.5 reads as 16", with(good, kRunnerCountAt, "16.5"), 16);
    refused("runner count &H9 reads as &H", with(good, kRunnerCountAt, "&H9"), noCount("&H"));

    // Odds beyond a double cannot be shown or forecast; any finite value is shown whole.
    refused("odds 9E999", with(good, highOddsAt(8), "9E999"), badOdds(8));
    refused("odds 1E999 in the low field", with(good, lowOddsAt(2), "1E999"), badOdds(2));
    loads("odds 1E5, six characters", with(good, lowOddsAt(1), "  1E5"), 8, kTitle, "100000");
    loads("odds .1234", with(good, lowOddsAt(1), ".1234"), 8, kTitle, "0.1234");
    loads("odds 9E999 of a horse beyond the runner count", with(good, lowOddsAt(9), "9E999"), 8);

    // The file in the folder.
    refused("folder with the file's name", good, noData(), Placement::Directory);
    refused("no read permission", good, unreadable(), Placement::NoReadPermission);
    loads("100 MB, sparse", good, 8, kTitle, "1.1", Placement::Sparse100MB);
    refused("removed after the listing", good, unreadable(), Placement::RemovedAfterListing);
    refused("replaced by a folder after the listing", good, unreadable(),
            Placement::FolderAfterListing);

    // The SPAT4 client at work on the file. The loader's looks share every right, so the client
    // is never refused; a file that changes between every two looks, or that the client keeps
    // to itself, gets a warning of its own.
    loads("held open for writing by the client", good, 8, kTitle, "1.1", Placement::HeldForWriting);
    refused("held by the client with no sharing", good, notSettled(), Placement::HeldUnshared);
    // Every load shows one whole version, or the warning (the message column) and no change.
    QTest::newRow("rewritten in place again and again, in two writes")
        << good << Placement::RewrittenAgain << notSettled() << 0 << QString() << QString()
        << otherVersion();
    // A file that a look has read and that is then gone is one the client is replacing: the
    // looks go on, and when they run out it is being written, not unreadable.
    refused("deleted by the client while open", good, notSettled(), Placement::DeletedWhileOpen);
    refused("renamed by the client while open", good, notSettled(), Placement::RenamedWhileOpen);
    QTest::newRow("replaced by the client between two looks")
        << good << Placement::ReplacedBetweenLooks << QString() << 9 << kOtherTitle << "1.2"
        << otherVersion();
    QTest::newRow("deleted by the client, written anew 100 ms later")
        << good << Placement::DeletedAndWrittenAnew << QString() << 9 << kOtherTitle << "1.2"
        << otherVersion();
    QTest::newRow("cut to nothing by the client, written again 200 ms later")
        << good << Placement::TruncatedAndWrittenAgain << QString() << 9 << kOtherTitle << "1.2"
        << otherVersion();
}

void LoaderBadFileTest::badFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Placement, placement);
    QFETCH(QString, message);
    QFETCH(int, runners);
    QFETCH(QString, title);
    QFETCH(QString, horse1);
    QFETCH(QByteArray, other);

    const fs::path dir = u8path(m_dir->path().toStdString());
    const fs::path path = dir / kName.toStdString();
    if (placement == Placement::RewrittenAgain) {
        rewrittenAgain(path, bytes, other, message);
        return;
    }
    if (placement == Placement::Directory)
        fs::create_directory(path);
    else
        writeBytes(path, bytes.toStdString());
    if (placement == Placement::Sparse100MB) {
        fs::resize_file(path, 100 * 1024 * 1024);
        QCOMPARE(fs::file_size(path), std::uintmax_t(100 * 1024 * 1024));
    }
    std::optional<PermissionBitsHold> bitsHold;
    if (placement == Placement::NoReadPermission) {
        fs::permissions(path, fs::perms::none);
        bitsHold.emplace(); // root too, until the row ends
#ifdef _WIN32
        if (std::ifstream(path).is_open())
            QSKIP("on Windows the permissions set only the read-only attribute: the row cannot "
                  "make an unreadable file");
#else
        QVERIFY2(!std::ifstream(path).is_open(), "the file of mode 000 can still be read");
#endif
    }
    m_folder.entries = spat4::listOrdinaryFiles(dir);
    if (placement == Placement::RemovedAfterListing || placement == Placement::FolderAfterListing)
        fs::remove(path);
    if (placement == Placement::FolderAfterListing)
        fs::create_directory(path);

    std::unique_ptr<ClientHandle> client;
    if (placement == Placement::HeldForWriting)
        client = std::make_unique<ClientHandle>(path, kShareRead);
    if (placement == Placement::HeldUnshared) {
#ifndef _WIN32
        QSKIP("only Windows has sharing modes: here no open shuts another program out");
#endif
        client = std::make_unique<ClientHandle>(path, 0);
    }
    if (client)
        QVERIFY(client->isOpen());
    // The client's deletion or rename, made once, while the loader has the file open or between
    // two of its looks.
    QString clientError = QStringLiteral("the client never got its turn");
    bool clientActs = true;
    const fs::path otherPath = dir / "ZO-5701B.NEW";
    const auto once = [&clientError](std::function<QString()> act) {
        return [&clientError, act, done = false]() mutable {
            if (!done)
                clientError = act();
            done = true;
        };
    };
    if (placement == Placement::DeletedWhileOpen)
        m_folder.whileOpen = once([&] { return clientDeletes(path); });
    else if (placement == Placement::RenamedWhileOpen)
        m_folder.whileOpen = once([&] { return clientRenames(path, dir / "ZO-5701B.OLD"); });
    else if (placement == Placement::ReplacedBetweenLooks) {
        writeBytes(otherPath, other.toStdString());
        m_folder.betweenLooks = once([&] { return clientRenames(otherPath, path); });
    } else
        clientActs = false;
    // A replace in steps, one at the start of each of the loader's pauses (so 50 ms apart), an
    // empty step doing nothing; the first step that fails gives the client's error.
    std::unique_ptr<ClientHandle> held;
    std::vector<std::function<QString()>> steps;
    if (placement == Placement::DeletedAndWrittenAnew)
        steps = {[&] { return clientDeletesWhileHolding(path, held); },
                 [&] {
                     held.reset();
                     return QString();
                 },
                 [&] { return clientWrites(path, other); }};
    else if (placement == Placement::TruncatedAndWrittenAgain)
        steps = {[&] { return clientWrites(path, {}); },
                 {},
                 {},
                 {},
                 [&] { return clientWrites(path, other); }};
    std::size_t stepsTaken = 0;
    QString stepError;
    if (!steps.empty()) {
        clientActs = true;
        m_folder.betweenLooks = [&] {
            if (stepsTaken < steps.size() && steps[stepsTaken] && stepError.isEmpty())
                stepError = steps[stepsTaken]();
            ++stepsTaken;
        };
    }

    select(*m_form, 24, 11);
    presetEverything(*m_form, *m_state);
    const QStringList before = snapshot(*m_form, *m_state);

    const std::vector<SeenBox> seen = loadWithOk(*m_form);
    client.reset();
    held.reset();
    m_folder.whileOpen = m_folder.betweenLooks = nullptr;
    // A load that shows the other version saw the last step, so every step was taken.
    if (!steps.empty())
        clientError = stepError;
    if (clientActs)
        QVERIFY2(clientError.isEmpty(), qPrintable(clientError));

    QVERIFY(!seen.empty());
    QCOMPARE(seen[0].text, QStringLiteral("ｵｯｽﾞを読み込みますか？"));
    if (message.isEmpty()) {
        QVERIFY2(seen.size() == 1, qPrintable(QStringLiteral("refused: ") + seen.back().text));
        QCOMPARE(m_state->race.RunnerCount, runners);
        QCOMPARE(m_form->Combo1()->currentText(), QString::number(runners));
        QCOMPARE(m_form->Label(17)->text(), title);
        QCOMPARE(m_form->Label(18)->text(), QStringLiteral("第11レース"));
        QCOMPARE(m_form->Label(22)->text(), QStringLiteral("船橋"));
        QCOMPARE(m_form->Text(4, 1)->text(), horse1);
        QCOMPARE(m_form->Text(5, runners)->text(), QStringLiteral("%1.9").arg(runners));
        if (runners < Form1::kRows)
            QCOMPARE(m_form->Text(4, runners + 1)->text(), QString());
        return;
    }
    QCOMPARE(seen.size(), size_t(2));
    QCOMPARE(seen[1].text, message);
    QCOMPARE(seen[1].title, QStringLiteral("読込みデータ確認"));
    QCOMPARE(seen[1].icon, QMessageBox::Warning);
    QCOMPARE(seen[1].buttons, QStringList{QStringLiteral("OK")});
    QCOMPARE(snapshot(*m_form, *m_state), before);
}

// Loads while the client rewrites the file: each shows all of one version and nothing of the
// other, or the warning and no change at all.
void LoaderBadFileTest::rewrittenAgain(const fs::path &path, const QByteArray &first,
                                       const QByteArray &second, const QString &warning)
{
    m_folder.entries = {{kName.toStdString(), path}};
    select(*m_form, 24, 11);
    // What each version shows when it loads alone.
    QStringList shows[2];
    for (int v = 0; v < 2; ++v) {
        writeBytes(path, (v == 0 ? first : second).toStdString());
        presetEverything(*m_form, *m_state);
        QCOMPARE(loadWithOk(*m_form).size(), size_t(1));
        shows[v] = withoutTimeStamp(snapshot(*m_form, *m_state));
    }
    QVERIFY(shows[0] != shows[1]);

    constexpr int kLoads = 24;
    int loaded[2] = {0, 0}, warned = 0;
    {
        const Rewriter client(path, first, second);
        for (int load = 1; load <= kLoads; ++load) {
            presetEverything(*m_form, *m_state);
            const QStringList before = snapshot(*m_form, *m_state);
            const std::vector<SeenBox> seen = loadWithOk(*m_form);
            QVERIFY(!seen.empty());
            if (seen.size() == 2) {
                QCOMPARE(seen[1].text, warning);
                QCOMPARE(snapshot(*m_form, *m_state), before);
                ++warned;
                continue;
            }
            QCOMPARE(seen.size(), size_t(1));
            const QStringList after = withoutTimeStamp(snapshot(*m_form, *m_state));
            const int v = after == shows[0] ? 0 : after == shows[1] ? 1 : -1;
            if (v < 0) {
                QStringList differing;
                for (qsizetype i = 0; i < after.size() && i < shows[0].size(); ++i)
                    if (after[i] != shows[0][i] && after[i] != shows[1][i])
                        differing << after[i];
                for (qsizetype i = 0; i < after.size() && i < shows[0].size(); ++i)
                    if (after[i] != shows[0][i] && after[i] == shows[1][i])
                        differing << after[i] + QStringLiteral(" (second version)");
                QFAIL(qPrintable(QStringLiteral("load %1 of %2 mixes the versions; it differs "
                                                "from the first in:\n")
                                     .arg(load)
                                     .arg(kLoads) +
                                 differing.mid(0, 12).join(QLatin1Char('\n'))));
            }
            ++loaded[v];
        }
        QCOMPARE(client.failedWrites(), 0);
        qInfo("%d loads while the client rewrote the file %d times: %d of the first version, "
              "%d of the second, %d warnings",
              kLoads, client.rewrites(), loaded[0], loaded[1], warned);
    }
}

QTEST_MAIN(LoaderBadFileTest)
#include "LoaderBadFileTest.moc"
