// The editor's view of the route's video: the frame at the cursor at the
// driving window's view size or larger, a slider over all frames, playing at
// the pace it was recorded, and the frame number with the recorded speed.
// Frames are decoded on a thread of their own: until the cursor's frame is
// ready the nearest decoded one stands in, marked as such.
#pragma once
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "devices/frame_source.h"

class QLabel;
class QSlider;
class QToolButton;

namespace ts {
class FrameWorker;
}

namespace ts::editor {

class FrameView : public QWidget {
public:
    explicit FrameView(QWidget* parent = nullptr);
    // `standIn`: the frame whose picture this is when it only stands in for
    // the one asked for (-1 when it is that frame).
    void setImage(QImage image, int standIn = -1);
    int standIn() const { return standIn_; }
    const QImage& image() const { return image_; }
    // Where the 2:1 picture is drawn inside the widget.
    QRect pictureRect() const;
    QSize sizeHint() const override { return {kViewWidth, kViewHeight}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int w) const override { return w / 2; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage image_;
    int standIn_ = -1;
};

class VideoPane : public QWidget {
    Q_OBJECT
public:
    explicit VideoPane(QWidget* parent = nullptr);
    ~VideoPane() override;

    // False when the video cannot be read (the pane then shows no picture).
    // `offset` and `rate`: the route's [VideoAlignment] with this copy of the video.
    bool open(const QString& path, bool letterbox, int offset = 0, int rate = 1000000);
    int frameCount() const { return frames_; }
    int frame() const { return frame_; }
    // Moves to a frame (clamped to the video) and shows it.
    void setFrame(int frame);
    void step(int frames) { setFrame(frame_ + frames); }
    void setPlaying(bool on);
    bool playing() const { return play_.isActive(); }
    // The recorded speed the label shows for a frame.
    std::function<int(int frame)> recordedSpeed;
    FrameView* view() const { return view_; }
    // Pictures the decoder thread has finished so far (for measuring).
    int64_t decodedFrames() const;
    // When the video is slow to seek (keyframes far apart, pictures much
    // larger than the view): why, and what to do; empty otherwise.
    QString seekAdvice() const { return seekAdvice_; }
    // The video asked for (the route's), whether its quick-seeking working
    // copy is what is decoded, and whether preparing one would help.
    const std::string& originalPath() const { return original_; }
    bool usingCopy() const { return usingCopy_; }
    bool copyWouldHelp() const { return copyHelps_; }
    // True when the picture shown is the cursor's frame itself.
    bool pictureExact() const;
    // Shows the label again (after the recorded speed changed).
    void refreshLabel();

signals:
    void frameChanged(int frame);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void showFrame(int frame);
    // Shows the best picture the decoder has for the cursor's frame.
    void showPicture();
    QSize pictureSize() const;
    void playTick();

    std::unique_ptr<FrameWorker> worker_;
    FrameView* view_;
    QSlider* slider_;
    QToolButton* playButton_;
    QLabel* label_;
    QTimer play_;
    QElapsedTimer playClock_;
    int playFrom_ = 0;
    int frames_ = 0;
    int frame_ = 0;
    ViewFrame picture_;
    int pictureFrame_ = -1;  // the frame whose picture is shown
    QString seekAdvice_;
    std::string original_;
    bool usingCopy_ = false, copyHelps_ = false;
};

}  // namespace ts::editor
