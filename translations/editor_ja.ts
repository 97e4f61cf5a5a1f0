<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>EditMode</name>
    <message>
        <source>Route editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>FileListsTab</name>
    <message>
        <source>Route editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 lies outside the data folder. A route names its files relative to that folder, so that it moves to another machine whole. Copy it into the folder as %2?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy into the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data folder has a file %1 already: choose that one, or rename one of them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot copy %1 into the data folder: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QProgressDialog</name>
    <message>
        <source>about %1 min %2 s left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>about %1 s left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick-seeking copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preparing a quick-seeking copy of %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preparing a quick-seeking copy of %1…
%2 of %3 pictures, %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cancelling</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SingleValuesForm</name>
    <message>
        <source>Line name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Letterbox (1: whole picture)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Start time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>End of the line (frame)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed at YY (km/h)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed at Y (km/h)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed at YG (km/h)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speed at G (km/h)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preceding train (s ahead)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>One-man (1: yes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Staff picture</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TestDrive</name>
    <message>
        <source>Cannot write a temporary file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The route did not load (see the message).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::editor</name>
    <message>
        <source>The route to edit (a new code makes a new route):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The route to edit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Route editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video of the new route %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Videos (*.mp4 *.mkv *.mov *.avi *.webm *.wmv *.mpg *.mpeg *.m4v);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video %1 cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Neither the data folder nor the demo has a train whose train file the new route could take.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New route</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Which train drives the new route? Its train file is copied to %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot make the new route: %1 is not in the data folder, and no installed demo was found to take it from.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot make the new route: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video outside the data folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video %1 lies outside the data folder. A route names its video relative to the folder, so that the folder can be moved or shared as a whole.

Copy or move it into the folder as %2?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Copy into the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Move into the folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Leave it where it is</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 exists already in the data folder.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot make the folder for %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot read %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copying the video into the data folder...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write %1 (is the disk full?).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::editor::CheckList</name>
    <message>
        <source>No problems found.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::editor::EditorWindow</name>
    <message>
        <source>Export route package</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The route has unsaved changes. Save it before it is packed?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;New route...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Open route...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Test drive from the cursor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Import GPS track...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Speed from the video...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Export route package...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add at the cursor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorded speed &amp;keyframe at the cursor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Delete the selected rows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10 frames back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>10 frames on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100 frames back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>100 frames on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next event</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play or pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Go to frame...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The whole route</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>V&amp;ideo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Prepare a quick-seeking copy...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Keys</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Go to frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keys of the route editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;table&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;,&lt;/b&gt; / &lt;b&gt;.&lt;/b&gt;&lt;/td&gt;&lt;td&gt;one frame back / on&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Shift+,&lt;/b&gt; / &lt;b&gt;Shift+.&lt;/b&gt;&lt;/td&gt;&lt;td&gt;10 frames back / on&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+,&lt;/b&gt; / &lt;b&gt;Ctrl+.&lt;/b&gt;&lt;/td&gt;&lt;td&gt;100 frames back / on&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;[&lt;/b&gt; / &lt;b&gt;]&lt;/b&gt;&lt;/td&gt;&lt;td&gt;to the previous / next event&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Space&lt;/b&gt;&lt;/td&gt;&lt;td&gt;play or pause at the recorded pace&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+G&lt;/b&gt;&lt;/td&gt;&lt;td&gt;go to a frame by number&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+1&lt;/b&gt; ... &lt;b&gt;Ctrl+9&lt;/b&gt;&lt;/td&gt;&lt;td&gt;a station, signal, speed limit, speed check, slope, sign, tunnel, sound or announcement at the cursor&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;K&lt;/b&gt;&lt;/td&gt;&lt;td&gt;a recorded-speed keyframe at the cursor&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl++&lt;/b&gt; / &lt;b&gt;Ctrl+-&lt;/b&gt; / &lt;b&gt;Ctrl+0&lt;/b&gt;&lt;/td&gt;&lt;td&gt;zoom the timeline in / out / to the whole route (or Ctrl+wheel)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+Z&lt;/b&gt; / &lt;b&gt;Ctrl+Shift+Z&lt;/b&gt;&lt;/td&gt;&lt;td&gt;undo / redo&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Delete&lt;/b&gt;&lt;/td&gt;&lt;td&gt;delete the selected rows (Ctrl+click or Shift+click selects several)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+S&lt;/b&gt;&lt;/td&gt;&lt;td&gt;save&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+N&lt;/b&gt; / &lt;b&gt;Ctrl+O&lt;/b&gt;&lt;/td&gt;&lt;td&gt;a new route / another route&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;F5&lt;/b&gt;&lt;/td&gt;&lt;td&gt;test drive from the cursor&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;p&gt;On the timeline: click a row to select it, drag one of its marks to move that position, click elsewhere to move the cursor. On the recorded-speed curve: drag a keyframe, double-click to add one, right-click to remove one.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures and sounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Check: %n error(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n warning(s)</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video &quot;%1&quot; cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slow to seek</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1

Prepare a quick-seeking working copy now? It shows the same frame at every position, is kept in your cache folder and is used by the editor and the driving window; the route keeps naming the original.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This video&apos;s pictures are much larger than the view.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The quick-seeking copy is ready and in use.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled: no working copy was kept.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quick-seeking copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 - Route editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Route editor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test drive</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>The route has %n error(s); a run would stop at the first. Mend them first (the check list says where).</source>
        <translation type="unfinished">
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Save the changes to %1?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New route</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The new route&apos;s code (its files are CODE_line.txt and CODE_train.txt):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The data folder has a route %1 already.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::editor::FileListsTab</name>
    <message>
        <source>Route sounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Call-out waves (28)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>More call-outs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sign pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Other pictures and their waves</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Signal pictures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is not in the data folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Choose file...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>De&amp;lete</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rows refer to an entry by its number (shown at the left, from 0): deleting or adding one renumbers those after it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This list always holds %1 entries: edit them.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No picture in this list</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select an entry</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
cannot be read</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 × %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.png *.jpg);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sounds (*.wav);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose a file in the data folder</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::editor::GpsImportDialog</name>
    <message>
        <source>Import GPS track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPS track (GPX):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Which moment of the track each frame shows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Offset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame 0 is this many seconds after the track&apos;s first point (negative: before it).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Two sync marks</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FRAME=TIME: the frame shows that track time (ISO 8601, or seconds after the first point).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line up with the video&apos;s standstills</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The offset at which the track stands where the picture stands still.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recorded speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slopes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> km/h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tolerance:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rewrite:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From the track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>km/h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPS track of the ride</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPS tracks (*.gpx);;All files (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose the GPS track of the ride.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose what to rewrite.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write a temporary file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analysing the video&apos;s motion...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video&apos;s motion: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No offset lays the video&apos;s %1 standstills over the track&apos;s %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Offset %1 s lays the video&apos;s %2 standstills over the track&apos;s %3.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::editor::PackageExportDialog</name>
    <message>
        <source>Export route package</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>for example: CC BY 4.0, or: may be shared unchanged</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Author:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Licence:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Package file:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Include the video (only when it is yours to share)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fingerprinting the video… %p%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Export</source>
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
        <source>Route packages (*.trainsim-route)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Packing…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Written %1: %2 files and the video&apos;s fingerprint.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not written: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::editor::SingleValuesForm</name>
    <message>
        <source>From the video</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::editor::SpeedVideoDialog</name>
    <message>
        <source>Speed from the video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The recorded speed from the motion seen in the video, scaled by the route&apos;s distance marks (the &quot;Distance marks&quot; table) or, when it has none, by the distances between its stations.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motion of the video: %p %</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel analysis</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> km/h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Known speed (without marks):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tolerance:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preview</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Now</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>From the video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standstills</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>km/h</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Apply</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The analysis was cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The video &quot;%1&quot;: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Analyse the video first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write a temporary file.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ts::editor::VideoPane</name>
    <message>
        <source>Frame %1 shown while the frame is decoded…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play or pause at the recorded pace (Space)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This video is slow to seek (a keyframe every %1 s, pictures of %2 × %3): a jump shows the nearest decoded picture first. Video &gt; Prepare a quick-seeking copy makes a working copy that seeks at once.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frame %1 / %2  %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  %1 km/h</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
