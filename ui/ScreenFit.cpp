#include "ScreenFit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// One axis of fittedFrame: the start and length of the frame's span in [areaStart, areaEnd).
void fitSpan(int &start, int &length, int areaStart, int areaLength)
{
    if (length >= areaLength) {
        start = areaStart;
        length = areaLength;
        return;
    }
    start = std::clamp(start, areaStart, areaStart + areaLength - length);
}

class ScreenFit final : public QObject {
public:
    ScreenFit(QWidget *window, std::function<void()> fit)
        : QObject(window), m_window(window), m_fit(std::move(fit))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Show && inNormalState()) {
            m_fit();
            if (QWindow *handle = m_window->windowHandle(); handle && handle != m_handle) {
                m_handle = handle;
                handle->installEventFilter(this);
            }
        } else if (watched == m_handle && event->type() == QEvent::Expose &&
                   m_handle->isExposed() && inNormalState()) {
            // Fitted once, as first shown: from now on the window stays where the user and the
            // system put it. A window restored from the taskbar is shown again, and fitting it
            // then would undo the user's move; giving a maximised or snapped window a geometry
            // would take it out of that state.
            m_fit();
            m_window->removeEventFilter(this);
            m_handle->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    // A window shown minimised, maximised or full screen is fitted when first shown as a
    // normal window instead.
    bool inNormalState() const
    {
        return (m_window->windowState() &
                (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) == 0;
    }

    QWidget *m_window;
    std::function<void()> m_fit;
    QWindow *m_handle = nullptr;
};

// The frame around a window's client area, in Qt's pixels. On Windows, Qt's frame leaves out the
// resize borders that Windows 10 and 11 draw invisible; the window's rectangle holds them, and so
// does the frame that Wine draws. Kept inside the work area too, they cost a few pixels of it on
// Windows, and keep the whole frame in view under Wine.
QMargins frameOf(QWidget *window)
{
    const QWindow *handle = window->windowHandle();
    QMargins frame = handle ? handle->frameMargins() : QMargins();
#ifdef _WIN32
    const auto hwnd = reinterpret_cast<HWND>(window->winId());
    RECT outer{}, inner{};
    POINT corner{0, 0};
    if (GetWindowRect(hwnd, &outer) && GetClientRect(hwnd, &inner) && ClientToScreen(hwnd, &corner)) {
        const qreal ratio = window->devicePixelRatioF();
        const auto dip = [ratio](LONG pixels) { return int(std::ceil(pixels / ratio)); };
        frame = QMargins(std::max(frame.left(), dip(corner.x - outer.left)),
                         std::max(frame.top(), dip(corner.y - outer.top)),
                         std::max(frame.right(), dip(outer.right - corner.x - inner.right)),
                         std::max(frame.bottom(), dip(outer.bottom - corner.y - inner.bottom)));
    }
#endif
    return frame;
}

} // namespace

QRect fittedFrame(const QRect &frame, const QRect &available)
{
    int left = frame.left(), top = frame.top(), width = frame.width(), height = frame.height();
    fitSpan(left, width, available.left(), available.width());
    fitSpan(top, height, available.top(), available.height());
    return {left, top, width, height};
}

void fitOnScreen(QWidget *window)
{
    const QScreen *screen = window->screen();
    if (screen == nullptr)
        return;
    const QMargins frame = frameOf(window);
    QRect available = screen->availableGeometry();
    // At a fractional scale the area and the frame are each rounded to whole Qt pixels: a pixel
    // of inset keeps the frame's device pixels inside the area's.
    const qreal ratio = window->devicePixelRatioF();
    if (ratio != std::floor(ratio))
        available.adjust(1, 1, -1, -1);
    const QRect now = window->geometry().marginsAdded(frame);
    const QRect fitted = fittedFrame(now, available);
    if (fitted == now)
        return;
    QRect client = fitted.marginsRemoved(frame);
    client.setSize(client.size().expandedTo(window->minimumSize()));
    window->setGeometry(client);
}

void keepOnScreen(QWidget *window, std::function<void()> fit)
{
    if (!fit)
        fit = [window] { fitOnScreen(window); };
    new ScreenFit(window, std::move(fit));
}
