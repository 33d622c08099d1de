#pragma once

#include "ProcStatus.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace bench {

// Nanoseconds of CLOCK_REALTIME at process start: $MILKA_BENCH_T0_NS when the script passes it
// (taken just before it starts the process), else the kernel's start time of this process, which
// is only as fine as a clock tick.
inline long long processStartNs(bool &fromScript)
{
    if (const char *t0 = std::getenv("MILKA_BENCH_T0_NS"); t0 && *t0) {
        fromScript = true;
        return std::atoll(t0);
    }
    fromScript = false;
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // Field 22, counted after the parenthesised command name, which may hold blanks.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22; ++i)
        fields >> field;
    const long long ticks = std::atoll(field.c_str());
    timespec boot{}, real{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    clock_gettime(CLOCK_REALTIME, &real);
    const long long bootNs =
        (real.tv_sec - boot.tv_sec) * 1000000000LL + real.tv_nsec - boot.tv_nsec;
    return bootNs + ticks * (1000000000LL / sysconf(_SC_CLK_TCK));
}

inline long long realtimeNs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

// Ends the process once the first top-level window has finished its first frame, printing the
// time since process start and the peak resident memory so far. The frame is done when an
// event posted from inside its first paint comes round.
class FirstFrameProbe : public QObject {
public:
    FirstFrameProbe() { QCoreApplication::instance()->installEventFilter(this); }

    // Marks a point on the way to the first frame; printed with the result.
    void stage(const char *name) { m_stages.push_back({name, realtimeNs()}); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow()) {
            m_painted = true;
            m_window = watched->objectName();
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
        return false;
    }

    void customEvent(QEvent *) override
    {
        const long long now = realtimeNs();
        bool fromScript = false;
        const long long start = processStartNs(fromScript);
        for (const auto &[name, at] : m_stages)
            std::printf("stage.%s %.3f ms\n", name, (at - start) / 1e6);
        const long long elapsed = now - start;
        std::printf("window %s -\n", m_window.isEmpty() ? "(unnamed)" : qPrintable(m_window));
        std::printf("start_from %s -\n", fromScript ? "script" : "proc-stat");
        std::printf("first_frame %.3f ms\n", elapsed / 1e6);
        std::printf("vm_hwm %ld kB\n", procStatusKb("VmHWM"));
        std::printf("vm_rss %ld kB\n", procStatusKb("VmRSS"));
        std::fflush(stdout);
        std::_Exit(0);
    }

private:
    std::vector<std::pair<const char *, long long>> m_stages;
    bool m_painted = false;
    QString m_window;
};

} // namespace bench
