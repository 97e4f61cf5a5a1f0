// make_demo: writes the demo data set (title screen, two trains and their
// lines with pictures, sounds and videos) into a folder. Everything is drawn
// or synthesised here; the same program gives the same files.
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <vector>

#include "data_files.h"
#include "files.h"
#include "gps_track.h"
#include "line.h"
#include "pictures.h"
#include "sounds.h"
#include "video/video_writer.h"
#include "view.h"

using namespace demo;

namespace {

void writeLinePictures(const fs::path& out, const Line& l) {
    const fs::path dir = out / "image" / l.code;
    writePicture(dir / "panel.png", panelPicture(l.electric, false));
    writePicture(dir / "panel_tunnel.png", panelPicture(l.electric, true));
    writePicture(dir / "staff.png", timetableCard(l));
    writePicture(dir / "clock_dial.png", clockDial());
    writePicture(dir / "needle_speed.png", needlePicture(176, QColor(230, 240, 255)));
    writePicture(dir / "needle_red.png", needlePicture(104, QColor(220, 30, 30)));
    writePicture(dir / "needle_black.png", needlePicture(104, QColor(20, 20, 20)));
    writePicture(dir / "needle_red_small.png", needlePicture(88, QColor(220, 30, 30)));
    writePicture(dir / "lamp_door.png", lamp("戸閉", QColor(250, 200, 60)));
    writePicture(dir / "lamp_power.png", lamp("力行", QColor(120, 220, 120)));
    writePicture(dir / "lamp_eb.png", lamp("EB", QColor(250, 60, 50)));
    writePicture(dir / "lamp_gen.png", lamp(l.electric ? "回生" : "変速", QColor(120, 200, 250)));
    writePicture(dir / "lamp_air.png", lamp("空制", QColor(250, 250, 250)));
    writePicture(dir / "lamp_ele.png", lamp("電制", QColor(120, 200, 250)));
    writePicture(dir / "lamp_ats.png", lamp("ATS", QColor(255, 40, 40), 56, 20));
    writePicture(dir / "lamp_fwd.png", lamp("前", QColor(120, 220, 120)));
    writePicture(dir / "lamp_back.png", lamp("後", QColor(250, 200, 60)));
    const int P = l.electric ? 5 : 4;
    for (int i = 0; i <= P; ++i)
        writePicture(dir / ("notch_p" + std::to_string(i) + ".png"),
                     notchIndicator(i == 0 ? "切" : QString("P%1").arg(i), QColor(120, 220, 120)));
    std::vector<QString> brakes;
    if (l.electric) {
        brakes = {"運転", "B1", "B2", "B3", "B4", "B5", "B6", "B7", "非常"};
    } else {
        brakes = {"運転", "抑速", "重なり", "保ち", "常用", "非常"};
    }
    for (size_t i = 0; i < brakes.size(); ++i)
        writePicture(dir / ("notch_b" + std::to_string(i) + ".png"),
                     notchIndicator(brakes[i], i + 1 == brakes.size() ? QColor(255, 70, 60) : QColor(250, 200, 60)));
    for (int g = 0; g <= 3; ++g)
        writePicture(dir / ("gear" + std::to_string(g) + ".png"),
                     notchIndicator(g == 0 ? "N" : QString("%1速").arg(g), QColor(120, 200, 250)).scaled(50, 24));
    for (int i = 0; i < 22; ++i) writePicture(dir / ("signal" + std::to_string(i) + ".png"), signalPicture(i));
    for (int i = 0; i <= 24; ++i) writePicture(dir / ("sign" + std::to_string(i) + ".png"), signPicture(i));
    writePicture(dir / "other0.png", otherSign(0));
    writePicture(dir / "other1.png", otherSign(1));
}

void writeLineSounds(const fs::path& out, const Line& l) {
    const fs::path dir = out / "sound" / l.code;
    const bool d = !l.electric;
    for (int b = 0; b < ch::kBands; ++b) writeWave(dir / ("run" + std::to_string(b) + ".wav"), runningNoise(b, d));
    writeWave(dir / "brake1.wav", brakeHiss(0.9, 0.5));
    writeWave(dir / "brake2.wav", brakeHiss(1.6, 0.45));
    writeWave(dir / "eb.wav", brakeHiss(2.0, 0.8));
    writeWave(dir / "ats_bell.wav", atsBell());
    writeWave(dir / "ats_chime.wav", chime());
    writeWave(dir / "atc_bell.wav", ding());
    writeWave(dir / "horn.wav", horn(false));
    writeWave(dir / "horn2.wav", horn(true));
    writeWave(dir / "door_open.wav", doorSound(true));
    writeWave(dir / "door_close.wav", doorSound(false));
    writeWave(dir / "eb_buzzer.wav", buzzer());
    writeWave(dir / "squeal.wav", squeal());
    writeWave(dir / "cp_start.wav", compressor(0));
    writeWave(dir / "cp_run.wav", compressor(1));
    writeWave(dir / "cp_end.wav", compressor(2));
    writeWave(dir / "creak.wav", creak());
    writeWave(dir / "engine.wav", dieselEngine(false, false));
    writeWave(dir / "idle.wav", dieselEngine(true, false));
    writeWave(dir / "idle_open.wav", dieselEngine(true, true));
    if (l.electric) {
        writeWave(dir / "motor_low.wav", motorWhine(420));
        writeWave(dir / "motor_high.wav", motorWhine(980));
    }
    writeWave(dir / "melody.wav", melody(l.electric ? 0 : 1));
    writeWave(dir / "crossing.wav", crossingBell());
    writeWave(dir / "tunnel.wav", runningNoise(9, d));
    writeWave(dir / "points.wav", runningNoise(4, d));
    writeVoice(dir / "announce.wav", "Thank you for travelling with us. The next station is coming soon.", 0);
    static const char* calls[6] = {"Stop", "Warning", "Caution", "Reduce speed", "Clear", "Proceed slowly"};
    for (int i = 0; i < 6; ++i) writeVoice(dir / ("call" + std::to_string(i) + ".wav"), calls[i], i);
    for (int limit = 15; limit <= 120; limit += 5)
        writeVoice(dir / ("limit" + std::to_string(limit) + ".wav"), "Speed limit " + std::to_string(limit), 1);
    writeVoice(dir / "starting.wav", "Starting signal", 2);
    writeVoice(dir / "home.wav", "Home signal", 2);
    writeVoice(dir / "whistle_call.wav", "Whistle board", 0);
    writeVoice(dir / "crossing_call.wav", "Level crossing", 0);
}

bool writeVideo(const fs::path& out, const Line& l, const ViewRenderer& view) {
    fs::create_directories(out / "video");
    // H.264 in MP4: small files, and a frame anywhere decodes in a few milliseconds (keyframe every second).
    ts::VideoSettings s;
    s.gop = 30;
    s.bFrames = 2;
    s.quality = 26;
    ts::VideoWriter w((out / "video" / (l.code + ".mp4")).string(), s);
    if (!w.ok()) return false;
    QImage frame;
    for (int i = 0; i < l.frames; ++i) {
        frame = view.frame(i).convertToFormat(QImage::Format_RGB32);
        w.add(reinterpret_cast<const uint32_t*>(frame.constBits()));
    }
    return w.finish();
}

// The irregular test line: its route file, its video, its GPS track and the
// truth of its run ("truth.csv": frame, km/h, metres from frame 0), nothing else.
int writeMotionTest(const fs::path& out) {
    fs::create_directories(out);
    const Line l = irregularLine();
    const ViewRenderer view(l);
    writeText(out / (l.code + "_line.txt"), routeFile(l, view));
    std::string truth = "frame,kmh,metres\n";
    for (int f = 0; f < l.frames; ++f)
        truth += std::to_string(f) + "," + std::to_string(recordedSpeed(l, f)) + "," +
                 std::to_string(view.distanceAt(f)) + "\n";
    writeText(out / "truth.csv", truth);
    // What a phone in the cab logged (frame 0 is 3 s after its first fix).
    writeText(out / "gps" / (l.code + "_ride.gpx"), gpsTrack(l, view));
    return writeVideo(out, l, view) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_demo OUTPUT_FOLDER | make_demo --motion-test FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (std::string(argv[1]) == "--motion-test" && argc >= 3) return writeMotionTest(argv[2]);
    const fs::path out = argv[1];
    fs::create_directories(out);
    if (!writeJpeg(out / "image" / "title" / "title.jpg", titlePicture(), 90)) return 1;
    writeText(out / "operation.txt", helpText());
    writeText(out / "readme.html", readme());
    writeText(out / "string.txt", stringTable());
    writeText(out / "mascon.txt", controllerMap());
    for (const Line& l : {electricLine(), dieselLine()}) {
        const ViewRenderer view(l);
        writeText(out / (l.code + "_line.txt"), routeFile(l, view));
        writeText(out / (l.code + "_train.txt"), trainFile(l));
        // What a phone in the cab logged on the recorded run (for trainsim import-gps).
        writeText(out / "gps" / (l.code + "_ride.gpx"), gpsTrack(l, view));
        writeLinePictures(out, l);
        writeLineSounds(out, l);
        if (!writeVideo(out, l, view)) {
            std::fprintf(stderr, "make_demo: cannot write the video of %s\n", l.code.c_str());
            return 1;
        }
    }
    return 0;
}
