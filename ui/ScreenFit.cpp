#include "ScreenFit.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <utility>

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
        if (watched == m_window && event->type() == QEvent::Show) {
            m_fit();
            m_framed = false;
            if (QWindow *handle = m_window->windowHandle(); handle && handle != m_handle) {
                m_handle = handle;
                handle->installEventFilter(this);
            }
        } else if (watched == m_handle && event->type() == QEvent::Expose && !m_framed &&
                   m_handle->isExposed()) {
            m_framed = true;
            m_fit();
        }
        return false;
    }

private:
    QWidget *m_window;
    std::function<void()> m_fit;
    QWindow *m_handle = nullptr;
    bool m_framed = false;
};

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
    const QMargins frame =
        window->windowHandle() ? window->windowHandle()->frameMargins() : QMargins();
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
