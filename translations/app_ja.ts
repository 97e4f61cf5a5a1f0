<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>QObject</name>
    <message>
        <source>The live link is off.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live link open at %1
Dashboard: %2
Overlay: %3
Clients connected: %4
Clients may drive: %5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Open to the network. Token: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
On the network: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live link</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Let clients drive (send the driver&apos;s commands)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Let other machines on the network connect (with a token)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open the live link: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hat %1 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recording stopped: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed along the line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorded speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed limit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signal speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alarms, emergency brakes, overspeed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stations passed by timetable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance from the start of the line (km)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed (km/h)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pass</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>start</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ran through</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>skipped by a jump</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not reached</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>at the platform</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>overrun</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>short of the platform</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Score</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Station</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From the mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Doors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Departure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Points lost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Running %1 s, standing %2 s, %3 m; hardest braking %4 m/s², largest jerk %5 m/s³.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ReleaseHint</name>
    <message>
        <source>Emergency brake by train protection: stop, put the brake handle to EB (0), press r</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Emergency brake by the vigilance device: stop, put the brake handle to EB (0), press r</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed-control brake: it releases once the train is below the permitted speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Train protection alarm: put the brake handle in a braking position and press space</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vigilance: press any driving key</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts</name>
    <message>
        <source>Call-out: nothing ahead to call out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call-out: the sign ahead</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call-out: speed limit %1 km/h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call-out: signal at stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call-out: signal at caution-caution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call-out: signal at caution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call-out: signal at reduced speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call-out: signal clear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call-out: repeater at caution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call-out: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Train protection: alarm confirmed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Departure melody: close the doors (d) when it ends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Departure melody: the doors close when it ends</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The melody has ended: close the doors (d)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Doors closing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video %1 cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The working copy cannot be written in %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The working copy of %1 would not show the same frames; it was not kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled: no working copy was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This system&apos;s FFmpeg has no H.264 encoder (libx264): no working copy can be made.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The disk is full: the working copy of %1 does not fit in %2. Nothing was kept; make room there and prepare it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The working copy of %1 could not be written (%2). Nothing was kept.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::CueLine</name>
    <message>
        <source>&lt;b style=&apos;font-size:150%&apos;&gt;Paused&lt;/b&gt;&lt;br&gt;Start in the menu resumes the run. Handles moved now take effect when it resumes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Distance to the stop mark of the next stop. The red tick beside the view shows the same distance: level with the middle at 0 m.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop mark %1 m</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::InstallDialog</name>
    <message>
        <source>Install a route</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Route package:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your copy of its video:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparing pictures… %p%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Match:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set the offset by hand:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> frames</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Install as train code:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Install</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Route package</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Route packages (*.trainsim-route);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Your copy of the route&apos;s video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Videos (*.mp4 *.mkv *.avi *.mov *.webm);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This package is refused: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Train %1, &quot;%2&quot;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, by %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>. Its video: %1 frames (%2 s)%3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, included</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, not included: choose your copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This data folder has a route of train code %1: it is kept, and this one is offered under another code.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The package is whole and its files pass the check.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>. The route will show this copy at the author&apos;s pictures.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>. Refused: %1. Install anyway with the offset set by hand.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not installed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Installed as train %1 (%2 files). It is under &quot;Other routes…&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::LinkServer</name>
    <message>
        <source>a token is needed: open the address the program shows, which ends in ?token=…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>wrong token</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::PadDialog</name>
    <message>
        <source>hold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Game controller</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>… and %n more.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Lines of gamepad.txt that were skipped:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Levers </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Moves</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Min</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Max</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inverted</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dead zone</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hysteresis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Position</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move every lever to both ends, then press again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Buttons </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Action</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No game controller connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mapping from gamepad.txt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not in gamepad.txt yet: the default mapping of a %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>standard gamepad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>joystick</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect a gamepad, joystick or USB train controller; it appears here.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Axis %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>nothing</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>brake</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>power and brake</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Done</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Move every lever to both ends, then press Done.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Calibrated. Save keeps it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>gamepad.txt cannot be written in the data folder.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::ReadmeWindow</name>
    <message>
        <source>Read me</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>There is no readme.html in the data folder %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::ReplayWatch</name>
    <message>
        <source>Replay</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1× speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Take over the controls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live: you have the controls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End of the recording</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replay stopped: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replay paused</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replay %1×</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::ReportWindow</name>
    <message>
        <source>%1, km %2: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> — confirmed after %1 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> — not confirmed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive report — %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The run reached the end of the line.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Station</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From the mark</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Doors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Departure</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1, km %2: %4 km/h over the %5 of %6 km/h for %7 m</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>−%1 points: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No alarms, emergency brakes or overspeed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the drive report</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Web page (*.html);;JSON (*.json)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::TForm1</name>
    <message>
        <source>Record this run…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1×</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1.5×</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2×</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3×</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Live link…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Smooth view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Game controller…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Needs %1 × %2 pixels; the screen has %3 × %4 free</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Record this run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recordings (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This run is recorded to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This run has started: the next run is recorded to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot record: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Game controller connected: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Game controller disconnected: %1. The handles stay where they are.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::TForm5</name>
    <message>
        <source>Install a route…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Install a route package into this data folder, with your copy of its video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other routes…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Drive a route of this data folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
