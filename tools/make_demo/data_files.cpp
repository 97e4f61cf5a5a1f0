#include "data_files.h"

#include <cmath>
#include <sstream>

namespace demo {

namespace {

std::string img(const Line& l, const std::string& name) { return "image\\" + l.code + "\\" + name; }
std::string snd(const Line& l, const std::string& name) { return "sound\\" + l.code + "\\" + name; }

}  // namespace

std::string routeFile(const Line& l, const ViewRenderer& view) {
    std::ostringstream o;
    o << "Route file of the " << l.title << ", made by the demo generator.\n"
      << "[LineName]\n"
      << l.name << "\n[StartPos]\n"
      << l.startPos << "\n"
      << "[FrameRate]\n10\n"  // the preceding train runs at 10 frames a second: the driver catches it up
      // (to a restricting aspect; the 40 line's head start keeps its signals off stop)
      << "[Staf]\n"
      << img(l, "staff.png") << "\n[StartTime]\n"
      << l.startTime << "\n"
      << "[Speed_YY]\n25\n[Speed_Y]\n45\n[Speed_YG]\n65\n[Speed_G]\n"
      << (l.electric ? 110 : 90) << "\n"
      << "[Path]\n"
      << "video\\" << l.code << ".mp4\n[Pre_Time]\n"
      << (l.electric ? 40 : 70) << "\n[OneMan]\n"
      << (l.electric ? 0 : 1) << "\n";
    o << "[SoundData]\n"
      << snd(l, "melody.wav") << "\n"
      << snd(l, "announce.wav") << "\n"
      << snd(l, "crossing.wav") << "\n"
      << snd(l, "tunnel.wav") << "\n"
      << snd(l, "points.wav") << "\n#\n";
    o << "[Announce]\n";
    for (size_t i = 0; i + 1 < l.stations.size(); ++i)
        if (l.stations[i].kind != 1) o << "1," << l.stations[i].stopTo + 250 << "\n";
    o << "#\n[KankoSound1]\n";
    for (int i = 0; i < 6; ++i) o << snd(l, "call" + std::to_string(i) + ".wav") << "\n";
    for (int limit = 15; limit <= 120; limit += 5) o << snd(l, "limit" + std::to_string(limit) + ".wav") << "\n";
    o << "[KankoSound2]\n出発\n" << snd(l, "starting.wav") << "\n場内\n" << snd(l, "home.wav") << "\n#\n";
    o << "; rows: sound, start, end, pitch speed, mode\n[Sound]\n";
    for (const Tunnel& t : l.tunnels) o << "3," << t.from << "," << t.to << ",60,1\n";
    o << ";points at the station throats\n";
    // A point past the end of the line would never sound: the run closes at 4500.
    for (const Station& s : l.stations)
        if (s.stopTo + 60 <= 4500) o << "4," << s.stopTo + 60 << ",0,1,0\n";
    o << "#\n[Doppler]\n2," << l.levelCrossing - 240 << "," << l.levelCrossing << "," << l.levelCrossing + 160
      << "\n#\n";
    o << "[Tunnel]\n";
    for (const Tunnel& t : l.tunnels) o << t.from << "\n" << t.to << "\n";
    o << "#\n[Station]\n";
    for (size_t i = 0; i < l.stations.size(); ++i) {
        const Station& s = l.stations[i];
        int next = 0;
        for (size_t j = i + 1; j < l.stations.size(); ++j)
            if (l.stations[j].kind != 1) {
                const double metres = view.distanceAt((l.stations[j].stopFrom + l.stations[j].stopTo) / 2) -
                                      view.distanceAt((s.stopFrom + s.stopTo) / 2);
                next = int(std::lround(metres * 100));
                break;
            }
        o << s.name << "," << s.kind << "," << s.stopFrom << "," << s.stopTo << ",0," << s.departure << "," << s.close
          << "," << (s.kind == 1 ? 0 : next) << "\n";
    }
    o << "#\n[StopSound]\n";
    for (const Station& s : l.stations)
        if (s.kind != 1) o << (s.stopFrom + s.stopTo) / 2 - 15 << "\n";
    o << "#\n[Signal]\n";
    for (const Signal& s : l.signalRows)
        o << s.kind << "," << s.label << "," << s.aspectSet << "," << s.from << "," << s.to << "," << s.to - 60 << ","
          << s.to - 25 << ",0,0\n";
    o << "#\n[Slope]\n";
    for (const Slope& s : l.slopes) o << s.gradient << "," << s.from << "," << s.to << "\n";
    o << "#\n[Sign]\n";
    for (const Sign& s : l.signs) o << s.image << "," << s.from << "," << s.to << "\n";
    o << "#\n[SpeedLimit]\n";
    for (const Limit& m : l.limits) o << m.limit << "," << m.notice << "," << m.from << "," << m.to << "\n";
    o << "#\n[SpeedCheck]\n" << (l.electric ? 55 : 45) << "," << l.speedCheck << "\n#\n";
    o << "[SignImageList]\n";
    for (int i = 0; i <= 24; ++i) o << img(l, "sign" + std::to_string(i) + ".png") << "\n";
    o << "#\n[OtherImageList]\n"
      << img(l, "other0.png") << "\n"
      << snd(l, "whistle_call.wav") << "\n"
      << img(l, "other1.png") << "\n"
      << snd(l, "crossing_call.wav") << "\n#\n";
    o << "[SignalImageList]\n";
    for (int i = 0; i < 22; ++i) o << img(l, "signal" + std::to_string(i) + ".png") << "\n";
    o << "#\n[SpeedUnit]\n";
    for (const SpeedRow& r : l.speed) o << r.from << "," << r.to << "," << r.fromSpeed << "," << r.toSpeed << "\n";
    o << "#\n";
    return o.str();
}

std::string trainFile(const Line& l) {
    std::ostringstream o;
    const bool e = l.electric;
    o << (e ? "789 series electric multiple unit, 6 cars" : "KiHa 40 diesel railcar, 1 car") << "\n";
    o << "[Handle]\n"
      << (e ? 0 : 1) << "\n[BrakeType]\n"
      << (e ? 1 : 0) << "\n[Brake]\n"
      << (e ? 8 : 4) << "\n"
      << "[Power]\n"
      << (e ? 5 : 4) << "\n[Hold]\n"
      << (e ? 0 : 1) << "\n[BrakeRate]\n"
      << (e ? "4.2" : "3.6") << "\n"
      << "[PowerDelay]\n"
      << (e ? 3 : 6) << "\n[BrakeDelay]\n"
      << (e ? 4 : 6) << "\n"
      << "[BrakeUp]\n"
      << (e ? 260 : 200) << "\n[BrakeDown]\n"
      << (e ? 320 : 240) << "\n"
      << "[EBPress]\n"
      << (e ? 440 : 390) << "\n[HighAirPress]\n880\n[LowAirPress]\n780\n[Curr1]\n0\n[Curr2]\n0\n"
      << "[Engine_Type]\n"
      << (e ? 1 : 0) << "\n[DoorType]\n0\n[Mt]\n"
      << (e ? 160 : 20) << "\n[Tt]\n"
      << (e ? 90 : 16) << "\n[Cars]\n"
      << (e ? 6 : 1) << "\n[Tons]\n"
      << (e ? 250 : 36) << "\n[EB]\n"
      << (e ? 0 : 1) << "\n"
      << "[MaxSpeed]\n"
      << (e ? 120 : 95) << "\n[Lose_elec]\n"
      << (e ? 8 : 0) << "\n[Mc]\n"
      << (e ? 1 : 0) << "\n"
      << "[ATS_Type]\n0\n[ATS_Alert]\n0\n[ATS_Time]\n5\n[ATS_Cnt]\n"
      << (e ? 1 : 0) << "\n";
    o << "[Sound_br1]\n"
      << ch::br1 << "\n[Sound_br2]\n"
      << ch::br2 << "\n[Sound_EB]\n"
      << ch::eb << "\n"
      << "[Sound_Ats1]\n"
      << ch::ats1 << "\n[Sound_Ats2]\n"
      << ch::ats2 << "\n[Sound_Atc]\n"
      << ch::atc << "\n"
      << "[Sound_Horn]\n"
      << ch::horn << "\n[Sound_Horn2]\n"
      << ch::horn2 << "\n[Sound_DoorOpen]\n"
      << ch::doorOpen << "\n[Sound_DoorClose]\n"
      << ch::doorClose << "\n[Sound_EBring]\n"
      << ch::ebRing << "\n[Sound_squeak]\n"
      << ch::squeak << "\n[CP_Start]\n"
      << ch::cpStart << "\n[CP_Cnt]\n"
      << ch::cpRun << "\n[CP_End]\n"
      << ch::cpEnd << "\n[Stop]\n"
      << ch::stop << "\n[EngineSound]\n"
      << ch::engine1 << "\n"
      << ch::engine2 << "\n"
      << ch::engine3 << "\n";
    if (e) {
        o << "[Notch]\n";
        const char* rows[5] = {"1.0\n1.0\n15\n25\n0.97", "1.6\n1.6\n25\n40\n0.97", "2.2\n2.2\n35\n55\n0.975",
                               "2.8\n2.8\n40\n65\n0.98", "3.2\n3.0\n45\n75\n0.982"};
        for (const char* r : rows) o << r << "\n";
        o << "#\n[MotorSound]\n"
          << "sound\\789\\motor_low.wav\n0\n0\n60\n0.5\n1.6\n30\n90\n"
          << "sound\\789\\motor_high.wav\n0\n40\n125\n0.7\n1.5\n10\n70\n"
          << "sound\\789\\motor_low.wav\n1\n8\n120\n1.4\n0.6\n70\n30\n#\n";
    } else {
        o << "[Engine]\n0\n15\n30\n1.6\n1.4\n0.8\n25\n45\n65\n1.0\n0.85\n0.5\n55\n75\n100\n0.6\n0.5\n0.3\n#\n"
          << "[MotorSound]\n#\n";
    }
    o << "[DriveSound]\n";
    for (int b = 0; b < ch::kBands; ++b) o << "sound\\" << l.code << "\\run" << b << ".wav\n";
    const char* extra[] = {"brake1", "brake2",    "eb",         "ats_bell",  "ats_chime", "atc_bell", "horn",
                           "horn2",  "door_open", "door_close", "eb_buzzer", "squeal",    "",         "cp_start",
                           "cp_run", "cp_end",    "creak",      "engine",    "idle",      "idle_open"};
    for (const char* x : extra) o << (*x ? "sound\\" + l.code + "\\" + x + ".wav" : std::string()) << "\n";
    o << "#\n";
    // cab panel
    o << "[Clock]\n455\n268\n20\n";
    o << "[Panel]\n" << img(l, "panel.png") << "\n0\n240\n[Panel2]\n" << img(l, "panel_tunnel.png") << "\n0\n240\n";
    auto lamp = [&](const char* key, const char* file, int x, int y) {
        o << "[" << key << "]\n" << img(l, file) << "\n" << x << "\n" << y << "\n";
    };
    lamp("Lamp_Door", "lamp_door.png", 300, 372);
    lamp("Lamp_Power", "lamp_power.png", 348, 372);
    lamp("Lamp_EB", "lamp_eb.png", 396, 372);
    lamp("Lamp_Gen", "lamp_gen.png", 300, 396);
    lamp("Lamp_Air", "lamp_air.png", 348, 396);
    lamp("Lamp_Ele", "lamp_ele.png", 396, 396);
    lamp("Lamp_Ats", "lamp_ats.png", 420, 420);
    lamp("Lamp_Fwd", "lamp_fwd.png", 300, 420);
    lamp("Lamp_Back", "lamp_back.png", 348, 420);
    auto needle = [&](const char* key, const char* file, int x, int y, int size, int zero, double perUnit) {
        o << "[" << key << "]\n"
          << img(l, file) << "\n"
          << x << "\n"
          << y << "\n"
          << size << "\n"
          << size << "\n"
          << zero << "\n"
          << perUnit << "\n";
    };
    needle("Needle_Speed", "needle_speed.png", 12, 252, 176, -135, 270.0 / 160);
    needle("Needle_BC", "needle_red.png", 198, 248, 104, -135, 270.0 / 600);
    needle("Needle_ER", "needle_black.png", 308, 248, 104, -135, 270.0 / 700);
    needle("Needle_BP", "needle_red.png", 308, 248, 104, -135, 270.0 / 700);
    needle("Needle_MR", "needle_red_small.png", 206, 346, 88, -135, 270.0 / 1000);
    o << "[NotchImageP]\n300\n346\n";
    for (int i = 0; i <= (e ? 5 : 4); ++i) o << img(l, "notch_p" + std::to_string(i) + ".png") << "\n";
    o << "#\n[NotchImageB]\n364\n346\n";
    const int brakeImages = e ? 9 : 6;  // N, (hold,) service steps, EB
    for (int i = 0; i < brakeImages; ++i) o << img(l, "notch_b" + std::to_string(i) + ".png") << "\n";
    o << "#\n";
    if (!e) {
        o << "[GearImageList]\n428\n346\n";
        for (int i = 0; i <= 3; ++i) o << img(l, "gear" + std::to_string(i) + ".png") << "\n";
        o << "#\n";
    }
    // the analogue clock's face, over the clock's square ([Clock] 455, 268)
    o << "[Others]\n" << img(l, "clock_dial.png") << "\n430\n243\n#\n";
    return o.str();
}

std::string stringTable() {
    return "Display texts of the cab.\n"
           "[Forward]\n前進\n[Neutral]\n中立\n[Reverse]\n後進\n[Stop]\n 停車\n[Pass]\n 通過\n[Stop2]\n 運転停車\n"
           "[Neut]\n運転\n[Neut2]\n切\n[Apply]\n常用\n[Maintain]\n重なり\n[Hold]\n保ち\n[Hold2]\n抑速\n[EB]\n非常\n"
           "[Start]\nStart\n[Move]\nMove\n[Display]\nDisplay\n操作説明(&H)\n[Control]\nController(&C)\n";
}

std::string controllerMap() {
    // power 1 .. 6, neutral, brake 1 .. 8, emergency, reverser, three switches
    std::string m;
    for (int p = 1; p <= 6; ++p) m += "P" + std::to_string(p) + "XXX\n";
    m += "N0XXX\n";
    for (int b = 1; b <= 8; ++b) m += "B" + std::to_string(b) + "XXX\n";
    m += "EBXXX\nRFXXX\nRNXXX\nRBXXX\nSW1XX\nSW2XX\nSW3XX\n#\n";
    return m;
}

std::string helpText() {
    return "How to drive\n"
           "The first minutes\n"
           "1. Click Start in the menu: the clock runs.\n"
           "   The train stands at the first station,\n"
           "   doors open, brake at emergency (EB).\n"
           "2. f : reverser forward.\n"
           "3. At the departure time, 15 s after\n"
           "   Start, the departure melody plays.\n"
           "   Then the doors close: by themselves on\n"
           "   the 789, with d on the 40.\n"
           "4. Handle to power: 789: 5, then z z z;\n"
           "   40: , to release the brake, z z z.\n"
           "   The train moves once the door lamp\n"
           "   lights (doors closed).\n"
           "5. Stop at the stop sign; the doors open.\n"
           "\n"
           "Keys\n"
           "Start: menu Start (pause/resume)\n"
           "f / n / b : reverser\n"
           "z / a : power up / down\n"
           "  (one handle: a brakes)\n"
           ", / . : brake release / apply\n"
           "8 / 2 : handle up / down\n"
           "5 : all to neutral\n"
           "0 / q / / : emergency\n"
           "3 / 6 : horn / whistle\n"
           "d or 7 : doors (one-man)\n"
           "space : confirm ATS\n"
           "r : reset ATS (at EB, standing)\n"
           "Enter : call out\n"
           "F1 : timetable card\n"
           "F2 : value display\n"
           "F3 : this help\n"
           "Wheel : handle up / down\n"
           "Scroll Lock : swap 2 and 8\n"
           "Shift+F1 / F2 : follow the recording on / off\n";
}

std::string readme() {
    return R"(<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>Train Simulator</title>
<style>
body { font-family: sans-serif; max-width: 46em; margin: 2em auto; line-height: 1.45; padding: 0 1em }
td, th { border: 1px solid #999; padding: 0.2em 0.6em; text-align: left }
table { border-collapse: collapse }
code, kbd { background: #eee; padding: 0 0.25em }
</style></head>
<body>
<h1>Train Simulator</h1>
<p>Train Simulator lets you drive a train along a line recorded from the cab. The big picture is
a cab video: it runs as fast as you drive, stops when you stop and runs backwards when you reverse.
Beside it is the cab panel: speedometer, brake and air gauges, lamps, the power and brake
notches, an analogue and a digital clock, the signal ahead, the next speed limit and the gradient.
You drive with the keyboard, the mouse wheel or a master controller on a serial port.</p>
<p>This demo has two trains, each with its own line of five stations. Pick one on the title
screen.</p>

<h2>The first minutes</h2>
<ol>
<li>Click <b>Start</b> in the menu. The clock starts; the train stands at the first station with
the doors open and the brake at emergency (<i>EB</i>).</li>
<li>Press <kbd>f</kbd>: the reverser goes forward.</li>
<li>Wait for the departure time, 15 seconds after Start: the departure melody plays, then the
doors close. Nothing moves while the doors are open: the door lamp on the panel lights when they
are closed.</li>
<li>Take power and go. Press <kbd>F1</kbd> to slide in the timetable card, and stop at the next
station's stop sign: a red marker at the right edge of the view runs down as you near it.</li>
</ol>

<h2>The 789 on the Konan Line</h2>
<p>A six-car electric train with one combined handle: five power notches, eight brake steps and
emergency. <kbd>z</kbd> moves the handle towards power, <kbd>a</kbd> towards the brake; <kbd>8</kbd>
and <kbd>2</kbd> do the same one step at a time, <kbd>5</kbd> puts it to neutral. The doors open and
close by themselves at the stations. The automatic train stop rings a bell when you pass a signal
at danger or caution too fast: brake and press <kbd>space</kbd> to confirm, or the emergency brake
follows. A speed check near the tunnel brakes the train when it is above the limit.</p>
<p>At the start: <kbd>f</kbd>, <kbd>5</kbd> (the handle from emergency to neutral) and
<kbd>z</kbd> <kbd>z</kbd> <kbd>z</kbd> (power 3); the train moves as soon as the doors have
closed.</p>

<h2>The 40 on the Yamada Line</h2>
<p>A diesel railcar with separate handles: power (<kbd>z</kbd> up, <kbd>a</kbd> down, three
gears that change by themselves) and an automatic air brake (<kbd>,</kbd> release, <kbd>.</kbd>
apply, with a hold position). It is a one-man train: the doors are yours. After the departure
melody close them with <kbd>d</kbd>; at each stop open them again with <kbd>d</kbd>. The vigilance
device sounds a buzzer after a minute without touching a control while running; touch any
control, or the emergency brake follows five seconds later.</p>
<p>At the start: <kbd>f</kbd>, after the melody <kbd>d</kbd>, release the brake with <kbd>,</kbd>
(several times) and take power with <kbd>z</kbd>.</p>

<h2>Keys</h2>
<table>
<tr><th>key</th><th></th></tr>
<tr><td>f n b</td><td>reverser forward, neutral, back</td></tr>
<tr><td>z a</td><td>power up / down (one handle: a brakes)</td></tr>
<tr><td>, .</td><td>brake release / apply (separate handles)</td></tr>
<tr><td>8 2 5</td><td>handle one step up, down, all to neutral</td></tr>
<tr><td>0 q /</td><td>emergency brake</td></tr>
<tr><td>3 6</td><td>horn, whistle</td></tr>
<tr><td>d 7</td><td>doors (one-man trains)</td></tr>
<tr><td>space r</td><td>confirm and reset the train protection</td></tr>
<tr><td>Enter</td><td>call out the signal or sign ahead</td></tr>
<tr><td>F1 F2 F3</td><td>timetable card, value display, key help</td></tr>
<tr><td>Shift+F1 Shift+F2</td><td>follow the recorded speed on / off</td></tr>
<tr><td>Scroll Lock</td><td>swap 2 and 8</td></tr>
<tr><td>mouse wheel</td><td>handle up (toward you) and down (away)</td></tr>
</table>
<p>The menu <b>Move</b> jumps to a station; <b>Display</b> opens the key help; the small arrow at
the bottom right goes back to the title screen.</p>

<h2>A master controller</h2>
<p><code>mascon.txt</code> lists what a serial controller sends for each position, one per line:
power 1 to 6 (<code>P1XXX</code> ... <code>P6XXX</code>), neutral (<code>N0XXX</code>), brake 1 to 8
(<code>B1XXX</code> ... <code>B8XXX</code>), emergency (<code>EBXXX</code>), reverser (<code>RFXXX</code>,
<code>RNXXX</code>, <code>RBXXX</code>) and three switches: confirm, horn, call-out (<code>SW1XX</code> ...
<code>SW3XX</code>). Only the first five characters of a message count. Connect with
<i>Controller &gt; Connect</i> (19200 baud, 8 data bits, even parity, 1 stop bit); start the program
with <code>--port COM1=/dev/ttyUSB0</code> to use another device.</p>

<h2>Where to go next: your own route</h2>
<p>A route is a folder of plain-text files beside your own cab video: <code>CODE_line.txt</code>
(stations and timetable, signals, speed limits, gradients, sounds and the video),
<code>CODE_train.txt</code> (the train's performance and its cab panel), <code>string.txt</code> and
<code>mascon.txt</code>, with the pictures and wave sounds they name. Copy this demo folder, change it
and run <code>trainsim --data /path/to/your/route</code>. The formats are described in the project's
<code>docs/data-formats.md</code>; <code>man trainsim</code> lists every option, file and key.</p>
</body></html>
)";
}

}  // namespace demo
