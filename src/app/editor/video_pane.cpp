#include "video_pane.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "edit/route_tables.h"
#include "video/ffmpeg_frame_source.h"
#include "video/frame_worker.h"
#include "video_cache.h"

namespace ts::editor {

namespace {
// Decoded pictures kept for stepping back after a jump.
constexpr int64_t kRecentPictureBytes = int64_t(64) << 20;
}  // namespace

FrameView::FrameView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(kViewWidth, kViewHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void FrameView::setImage(QImage image, int standIn) {
    image_ = std::move(image);
    standIn_ = standIn;
    update();
}

QRect FrameView::pictureRect() const {
    int w = width(), h = w / 2;
    if (h > height()) {
        h = height();
        w = h * 2;
    }
    return QRect((width() - w) / 2, (height() - h) / 2, w, h);
}

void FrameView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (image_.isNull()) return;
    const QRect r = pictureRect();
    p.drawImage(r, image_);
    if (standIn_ < 0) return;
    // A stand-in is dimmed and says whose picture it is.
    p.fillRect(r, QColor(0, 0, 0, 90));
    const QString text = VideoPane::tr("Frame %1 shown while the frame is decoded…").arg(standIn_);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    const QRect box = p.fontMetrics().boundingRect(text).adjusted(-8, -4, 8, 4);
    const QRect at(r.left() + 8, r.top() + 8, box.width(), box.height());
    p.fillRect(at, QColor(255, 200, 0));
    p.setPen(Qt::black);
    p.drawText(at, Qt::AlignCenter, text);
}

VideoPane::VideoPane(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    view_ = new FrameView(this);
    view_->installEventFilter(this);
    layout->addWidget(view_, 1);
    auto* bar = new QHBoxLayout;
    playButton_ = new QToolButton(this);
    playButton_->setObjectName("play");
    playButton_->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    playButton_->setToolTip(tr("Play or pause at the recorded pace (Space)"));
    playButton_->setFocusPolicy(Qt::NoFocus);
    connect(playButton_, &QToolButton::clicked, this, [this] { setPlaying(!playing()); });
    bar->addWidget(playButton_);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName("frameSlider");
    slider_->setFocusPolicy(Qt::NoFocus);
    connect(slider_, &QSlider::valueChanged, this, [this](int v) {
        if (v != frame_) setFrame(v);
    });
    bar->addWidget(slider_, 1);
    label_ = new QLabel(this);
    label_->setObjectName("frameLabel");
    label_->setMinimumWidth(fontMetrics().horizontalAdvance("Frame 000000 / 000000  00:00:00+00  000 km/h"));
    bar->addWidget(label_);
    layout->addLayout(bar);
    play_.setInterval(1000 / kViewFramesPerSecond);
    connect(&play_, &QTimer::timeout, this, [this] { playTick(); });
}

VideoPane::~VideoPane() = default;  // the decoder thread ends before the widget goes

void VideoPane::changeEvent(QEvent* e) {
    if (e->type() == QEvent::LanguageChange) {
        playButton_->setToolTip(tr("Play or pause at the recorded pace (Space)"));
        refreshLabel();
    }
    QWidget::changeEvent(e);
}

bool VideoPane::eventFilter(QObject* watched, QEvent* e) {
    // A larger view fetches the frame again at its new size rather than enlarging the old picture.
    if (watched == view_ && e->type() == QEvent::Resize && frame_ >= 0 && !playing()) showFrame(frame_);
    return QWidget::eventFilter(watched, e);
}

bool VideoPane::open(const QString& path, bool letterbox, int offset, int rate) {
    setPlaying(false);
    worker_.reset();
    auto source = std::make_unique<FfmpegFrameSource>();
    source->setFit(letterbox ? PictureFit::Letterbox : PictureFit::Crop);
    source->setAlignment(offset, rate);
    // Stepping back a few frames after a jump is served from the pictures the
    // jump passed (the budget holds about twenty of 1080p, five of 4K).
    source->setRecentPictures(kRecentPictureBytes);
    source->setHardwareDecoding(true);
    original_ = path.toStdString();
    const std::string decoded = videoToDecode(original_);
    usingCopy_ = decoded != original_;
    const bool ok = source->open(decoded);
    frames_ = ok ? source->length() : 0;
    seekAdvice_.clear();
    // A jump decodes from the keyframe before it: beyond about a second
    // apart, or with pictures far larger than the view, that takes a while.
    const double keyEvery = ok ? source->keyframeSeconds() : 0;
    const bool large = ok && source->sourceWidth() > 3 * kViewWidth;
    copyHelps_ = ok && !usingCopy_ && ts::copyWouldHelp(keyEvery, source->sourceWidth(), largestViewWidth());
    if (!usingCopy_ && (keyEvery > 1.2 || (large && keyEvery > 0.6)))
        seekAdvice_ = tr("This video is slow to seek (a keyframe every %1 s, pictures of %2 × %3): a jump shows the "
                         "nearest decoded picture first. Video > Prepare a quick-seeking copy makes a working copy "
                         "that seeks at once.")
                          .arg(keyEvery, 0, 'f', 1)
                          .arg(source->sourceWidth())
                          .arg(source->sourceHeight());
    if (ok) {
        worker_ = std::make_unique<FrameWorker>(std::move(source), 8);
        // Called on the decoder's thread: the picture is shown on this one.
        worker_->setOnDecoded([this] {
            QMetaObject::invokeMethod(
                this, [this] { showPicture(); }, Qt::QueuedConnection);
        });
    }
    pictureFrame_ = -1;
    view_->setImage({});
    slider_->setRange(0, std::max(frames_ - 1, 0));
    frame_ = -1;
    setFrame(0);
    return ok;
}

int64_t VideoPane::decodedFrames() const { return worker_ ? worker_->finished() : 0; }

bool VideoPane::pictureExact() const { return frames_ == 0 || (pictureFrame_ == frame_ && view_->standIn() < 0); }

void VideoPane::setFrame(int frame) {
    frame = std::clamp(frame, 0, std::max(frames_ - 1, 0));
    if (frame == frame_) return;
    frame_ = frame;
    showFrame(frame);
    {
        const QSignalBlocker block(slider_);
        slider_->setValue(frame);
    }
    emit frameChanged(frame);
}

void VideoPane::showFrame(int frame) {
    refreshLabel();
    if (!worker_ || frames_ == 0) {
        view_->setImage({});
        return;
    }
    // The frames either side too, the ways the cursor usually moves next.
    const QSize size = pictureSize();
    worker_->want({frame, std::min(frame + 1, frames_ - 1), std::max(frame - 1, 0)}, size.width(), size.height());
    showPicture();
}

QSize VideoPane::pictureSize() const {
    // The picture at the size it is drawn, never smaller than the driving window's view.
    const QRect r = view_->pictureRect();
    const qreal dpr = view_->devicePixelRatioF();
    const int w = std::max(kViewWidth, int(r.width() * dpr)) & ~1;
    return {w, w / 2};
}

void VideoPane::showPicture() {
    if (!worker_ || frame_ < 0) return;
    const QSize size = pictureSize();
    int got = -1;
    const auto match = worker_->best(frame_, size.width(), size.height(), picture_, &got);
    if (match == FrameWorker::Match::None) return;
    const int standIn = match == FrameWorker::Match::Exact ? -1 : got;
    if (got == pictureFrame_ && standIn == view_->standIn() && view_->image().size() == size) return;
    pictureFrame_ = got;
    QImage image(reinterpret_cast<const uchar*>(picture_.pixels.data()), picture_.width, picture_.height,
                 picture_.width * 4, QImage::Format_ARGB32);
    view_->setImage(image.copy(), standIn);
}

void VideoPane::refreshLabel() {
    const int ticks = frame_ < 0 ? 0 : frame_;
    QString text = tr("Frame %1 / %2  %3")
                       .arg(ticks)
                       .arg(std::max(frames_ - 1, 0))
                       .arg(QString::fromStdString(edit::timeText(ticks)));
    if (recordedSpeed) text += tr("  %1 km/h").arg(recordedSpeed(ticks));
    label_->setText(text);
}

void VideoPane::setPlaying(bool on) {
    if (on == playing()) return;
    if (on && frames_ > 0) {
        if (frame_ >= frames_ - 1) setFrame(0);
        playFrom_ = frame_;
        playClock_.start();
        play_.start();
    } else {
        play_.stop();
    }
    playButton_->setIcon(style()->standardIcon(playing() ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}

void VideoPane::playTick() {
    // Frames follow the clock, not the ticks: a slow decode skips frames
    // rather than slowing the ride down.
    const int target = playFrom_ + int(playClock_.elapsed() * kViewFramesPerSecond / 1000);
    if (target >= frames_ - 1) {
        setFrame(frames_ - 1);
        setPlaying(false);
        return;
    }
    setFrame(target);
}

}  // namespace ts::editor
