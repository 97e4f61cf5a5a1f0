<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>EditMode</name>
    <message>
        <source>Route editor</source>
        <translation>路線エディタ</translation>
    </message>
    <message>
        <source>The video %1 does not exist.</source>
        <translation>動画 %1 がありません。</translation>
    </message>
    <message>
        <source>usage: trainsim edit [--data DIR] [--video FILE] [--train-from CODE] [CODE]
  CODE              the route CODE_line.txt; a new route when it does not exist
</source>
        <translation>使い方: trainsim edit [--data DIR] [--video FILE] [--train-from CODE] [CODE]
  CODE              編集する路線 CODE_line.txt (ないときは新しい路線を作ります)
</translation>
    </message>
    <message>
        <source>the video of a new route (else the editor asks)</source>
        <translation>新しい路線の動画 (省略するとエディタが尋ねます)</translation>
    </message>
    <message>
        <source>the train of a new route: CODE_train.txt is copied (else the editor asks)</source>
        <translation>新しい路線の車両: CODE_train.txt をコピーします (省略するとエディタが尋ねます)</translation>
    </message>
    <message>
        <source>one route at a time</source>
        <translation>一度に編集できる路線は一つです</translation>
    </message>
</context>
<context>
    <name>QProgressDialog</name>
    <message>
        <source>about %1 min %2 s left</source>
        <translation>残り約 %1 分 %2 秒</translation>
    </message>
    <message>
        <source>about %1 s left</source>
        <translation>残り約 %1 秒</translation>
    </message>
    <message>
        <source>Quick-seeking copy</source>
        <translation>高速シーク用コピー</translation>
    </message>
    <message>
        <source>Preparing a quick-seeking copy of %1…</source>
        <translation>%1 の高速シーク用コピーを作成しています…</translation>
    </message>
    <message>
        <source>Preparing a quick-seeking copy of %1…
%2 of %3 pictures, %4</source>
        <translation>%1 の高速シーク用コピーを作成しています…
%3 枚中 %2 枚、%4</translation>
    </message>
    <message>
        <source>cancelling</source>
        <translation>中止しています</translation>
    </message>
</context>
<context>
    <name>RouteColumns</name>
    <message>
        <source>name</source>
        <translation>駅名</translation>
    </message>
    <message>
        <source>kind</source>
        <translation>種別</translation>
    </message>
    <message>
        <source>label</source>
        <translation>信号名</translation>
    </message>
    <message>
        <source>position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>endPosition</source>
        <translation>終了位置</translation>
    </message>
    <message>
        <source>fromPosition</source>
        <translation>始点</translation>
    </message>
    <message>
        <source>passPosition</source>
        <translation>通過位置</translation>
    </message>
    <message>
        <source>toPosition</source>
        <translation>終点</translation>
    </message>
    <message>
        <source>noticePosition</source>
        <translation>予告位置</translation>
    </message>
    <message>
        <source>alarmPosition</source>
        <translation>警報位置</translation>
    </message>
    <message>
        <source>checkPosition</source>
        <translation>照査位置</translation>
    </message>
    <message>
        <source>stopFrom</source>
        <translation>停車範囲(始)</translation>
    </message>
    <message>
        <source>stopTo</source>
        <translation>停車範囲(終)</translation>
    </message>
    <message>
        <source>departureTime</source>
        <translation>発車時刻</translation>
    </message>
    <message>
        <source>closeTime</source>
        <translation>戸閉時刻</translation>
    </message>
    <message>
        <source>nextStopDistance</source>
        <translation>次の停車駅まで(cm)</translation>
    </message>
    <message>
        <source>aspectSet</source>
        <translation>現示の種類</translation>
    </message>
    <message>
        <source>fixedAspect</source>
        <translation>固定現示</translation>
    </message>
    <message>
        <source>releaseTime</source>
        <translation>固定解除時刻</translation>
    </message>
    <message>
        <source>gradient</source>
        <translation>勾配(‰)</translation>
    </message>
    <message>
        <source>limit</source>
        <translation>制限速度(km/h)</translation>
    </message>
    <message>
        <source>soundIndex</source>
        <translation>音声番号</translation>
    </message>
    <message>
        <source>imageIndex</source>
        <translation>画像番号</translation>
    </message>
    <message>
        <source>pitchSpeed</source>
        <translation>基準速度(km/h)</translation>
    </message>
    <message>
        <source>loopMode</source>
        <translation>繰り返し</translation>
    </message>
    <message>
        <source>fromSpeed</source>
        <translation>始点の速度(km/h)</translation>
    </message>
    <message>
        <source>toSpeed</source>
        <translation>終点の速度(km/h)</translation>
    </message>
    <message>
        <source>frame</source>
        <translation>フレーム</translation>
    </message>
    <message>
        <source>metres</source>
        <translation>距離(m)</translation>
    </message>
    <message>
        <source>fileName</source>
        <translation>ファイル名</translation>
    </message>
    <message>
        <source>callText</source>
        <translation>呼称</translation>
    </message>
    <message>
        <source>soundFile</source>
        <translation>音声ファイル</translation>
    </message>
</context>
<context>
    <name>RouteTables</name>
    <message>
        <source>Stations</source>
        <translation>駅</translation>
    </message>
    <message>
        <source>Signals</source>
        <translation>信号</translation>
    </message>
    <message>
        <source>Speed limits</source>
        <translation>速度制限</translation>
    </message>
    <message>
        <source>Speed checks</source>
        <translation>速度照査</translation>
    </message>
    <message>
        <source>Slopes</source>
        <translation>勾配</translation>
    </message>
    <message>
        <source>Signs</source>
        <translation>標識</translation>
    </message>
    <message>
        <source>Tunnels</source>
        <translation>トンネル</translation>
    </message>
    <message>
        <source>Sounds</source>
        <translation>沿線の音</translation>
    </message>
    <message>
        <source>Announcements</source>
        <translation>車内放送</translation>
    </message>
    <message>
        <source>Doppler</source>
        <translation>ドップラー音</translation>
    </message>
    <message>
        <source>Stop sounds</source>
        <translation>停車音</translation>
    </message>
    <message>
        <source>Recorded speed</source>
        <translation>撮影時の速度</translation>
    </message>
    <message>
        <source>Distance marks</source>
        <translation>距離標</translation>
    </message>
</context>
<context>
    <name>SingleValuesForm</name>
    <message>
        <source>Line name</source>
        <translation>路線名</translation>
    </message>
    <message>
        <source>Video file</source>
        <translation>動画ファイル</translation>
    </message>
    <message>
        <source>Letterbox (1: whole picture)</source>
        <translation>レターボックス (1: 画面全体)</translation>
    </message>
    <message>
        <source>Start frame</source>
        <translation>開始フレーム</translation>
    </message>
    <message>
        <source>Start time</source>
        <translation>開始時刻</translation>
    </message>
    <message>
        <source>End of the line (frame)</source>
        <translation>路線の終端 (フレーム)</translation>
    </message>
    <message>
        <source>Frame rate</source>
        <translation>フレームレート</translation>
    </message>
    <message>
        <source>Speed at YY (km/h)</source>
        <translation>警戒 YY の速度 (km/h)</translation>
    </message>
    <message>
        <source>Speed at Y (km/h)</source>
        <translation>注意 Y の速度 (km/h)</translation>
    </message>
    <message>
        <source>Speed at YG (km/h)</source>
        <translation>減速 YG の速度 (km/h)</translation>
    </message>
    <message>
        <source>Speed at G (km/h)</source>
        <translation>進行 G の速度 (km/h)</translation>
    </message>
    <message>
        <source>Preceding train (s ahead)</source>
        <translation>先行列車 (何秒先か)</translation>
    </message>
    <message>
        <source>One-man (1: yes)</source>
        <translation>ワンマン運転 (1: する)</translation>
    </message>
    <message>
        <source>Staff picture</source>
        <translation>乗務員の画像</translation>
    </message>
</context>
<context>
    <name>TestDrive</name>
    <message>
        <source>Cannot write a temporary file.</source>
        <translation>一時ファイルを書き込めません。</translation>
    </message>
    <message>
        <source>The route did not load (see the message).</source>
        <translation>路線を読み込めませんでした (メッセージをご覧ください)。</translation>
    </message>
</context>
<context>
    <name>ts::editor</name>
    <message>
        <source>The route to edit (a new code makes a new route):</source>
        <translation>編集する路線 (新しいコードを入力すると新しい路線を作ります):</translation>
    </message>
    <message>
        <source>The route to edit:</source>
        <translation>編集する路線:</translation>
    </message>
    <message>
        <source>Route editor</source>
        <translation>路線エディタ</translation>
    </message>
    <message>
        <source>The video of the new route %1</source>
        <translation>新しい路線 %1 の動画</translation>
    </message>
    <message>
        <source>Videos (*.mp4 *.mkv *.mov *.avi *.webm *.wmv *.mpg *.mpeg *.m4v);;All files (*)</source>
        <translation>動画 (*.mp4 *.mkv *.mov *.avi *.webm *.wmv *.mpg *.mpeg *.m4v);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>The video %1 does not exist.</source>
        <translation>動画 %1 がありません。</translation>
    </message>
    <message>
        <source>The video %1 cannot be read.</source>
        <translation>動画 %1 を読み込めません。</translation>
    </message>
    <message>
        <source>Neither the data folder nor the demo has a train whose train file the new route could take.</source>
        <translation>データフォルダにもデモにも、新しい路線に使える車両ファイルがありません。</translation>
    </message>
    <message>
        <source>New route</source>
        <translation>新しい路線</translation>
    </message>
    <message>
        <source>Which train drives the new route? Its train file is copied to %1.</source>
        <translation>新しい路線を走る車両を選んでください。車両ファイルは %1 にコピーされます。</translation>
    </message>
    <message>
        <source>Cannot make the new route: %1 is not in the data folder, and no installed demo was found to take it from.</source>
        <translation>新しい路線を作れません: %1 がデータフォルダになく、コピー元となるデモもインストールされていません。</translation>
    </message>
    <message>
        <source>Cannot make the new route: %1</source>
        <translation>新しい路線を作れません: %1</translation>
    </message>
    <message>
        <source>Video outside the data folder</source>
        <translation>データフォルダの外にある動画</translation>
    </message>
    <message>
        <source>The video %1 lies outside the data folder. A route names its video relative to the folder, so that the folder can be moved or shared as a whole.

Copy or move it into the folder as %2?</source>
        <translation>動画 %1 はデータフォルダの外にあります。路線は動画をデータフォルダからの相対パスで指定するため、フォルダごと移動したり共有したりできます。

この動画を %2 としてフォルダにコピーまたは移動しますか?</translation>
    </message>
    <message>
        <source>&amp;Copy into the folder</source>
        <translation>フォルダにコピー(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Move into the folder</source>
        <translation>フォルダに移動(&amp;M)</translation>
    </message>
    <message>
        <source>&amp;Leave it where it is</source>
        <translation>そのままにする(&amp;L)</translation>
    </message>
    <message>
        <source>%1 exists already in the data folder.</source>
        <translation>%1 はすでにデータフォルダにあります。</translation>
    </message>
    <message>
        <source>Cannot make the folder for %1: %2</source>
        <translation>%1 のフォルダを作れません: %2</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 を読み込めません: %2</translation>
    </message>
    <message>
        <source>Cannot read %1.</source>
        <translation>%1 を読み込めません。</translation>
    </message>
    <message>
        <source>Cannot write %1: %2</source>
        <translation>%1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>Copying the video into the data folder...</source>
        <translation>動画をデータフォルダにコピーしています...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Cannot write %1 (is the disk full?).</source>
        <translation>%1 に書き込めません (ディスクがいっぱいではありませんか?)。</translation>
    </message>
</context>
<context>
    <name>ts::editor::CheckList</name>
    <message>
        <source>No problems found.</source>
        <translation>問題は見つかりませんでした。</translation>
    </message>
</context>
<context>
    <name>ts::editor::EditorWindow</name>
    <message>
        <source>Export route package</source>
        <translation>路線パッケージの書き出し</translation>
    </message>
    <message>
        <source>The route has unsaved changes. Save it before it is packed?</source>
        <translation>路線に保存していない変更があります。パッケージにする前に保存しますか?</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;New route...</source>
        <translation>新しい路線(&amp;N)...</translation>
    </message>
    <message>
        <source>&amp;Open route...</source>
        <translation>路線を開く(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Test drive from the cursor</source>
        <translation>カーソル位置から試運転(&amp;T)</translation>
    </message>
    <message>
        <source>&amp;Import GPS track...</source>
        <translation>GPSトラックの読み込み(&amp;I)...</translation>
    </message>
    <message>
        <source>&amp;Speed from the video...</source>
        <translation>動画から速度を求める(&amp;S)...</translation>
    </message>
    <message>
        <source>&amp;Export route package...</source>
        <translation>路線パッケージの書き出し(&amp;E)...</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>やり直し(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Add at the cursor</source>
        <translation>カーソル位置に追加(&amp;A)</translation>
    </message>
    <message>
        <source>Recorded speed &amp;keyframe at the cursor</source>
        <translation>カーソル位置に撮影時速度のキーフレーム(&amp;K)</translation>
    </message>
    <message>
        <source>&amp;Delete the selected rows</source>
        <translation>選択した行を削除(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Go</source>
        <translation>移動(&amp;G)</translation>
    </message>
    <message>
        <source>Previous frame</source>
        <translation>前のフレーム</translation>
    </message>
    <message>
        <source>Next frame</source>
        <translation>次のフレーム</translation>
    </message>
    <message>
        <source>10 frames back</source>
        <translation>10 フレーム戻る</translation>
    </message>
    <message>
        <source>10 frames on</source>
        <translation>10 フレーム進む</translation>
    </message>
    <message>
        <source>100 frames back</source>
        <translation>100 フレーム戻る</translation>
    </message>
    <message>
        <source>100 frames on</source>
        <translation>100 フレーム進む</translation>
    </message>
    <message>
        <source>Previous event</source>
        <translation>前のイベント</translation>
    </message>
    <message>
        <source>Next event</source>
        <translation>次のイベント</translation>
    </message>
    <message>
        <source>Play or pause</source>
        <translation>再生/一時停止</translation>
    </message>
    <message>
        <source>&amp;Go to frame...</source>
        <translation>フレームへ移動(&amp;G)...</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>拡大</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>縮小</translation>
    </message>
    <message>
        <source>The whole route</source>
        <translation>路線全体</translation>
    </message>
    <message>
        <source>V&amp;ideo</source>
        <translation>動画(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Prepare a quick-seeking copy...</source>
        <translation>高速シーク用コピーを作成(&amp;P)...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;Keys</source>
        <translation>キー操作(&amp;K)</translation>
    </message>
    <message>
        <source>Go to frame</source>
        <translation>フレームへ移動</translation>
    </message>
    <message>
        <source>Frame:</source>
        <translation>フレーム:</translation>
    </message>
    <message>
        <source>Keys of the route editor</source>
        <translation>路線エディタのキー操作</translation>
    </message>
    <message>
        <source>&lt;table&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;,&lt;/b&gt; / &lt;b&gt;.&lt;/b&gt;&lt;/td&gt;&lt;td&gt;one frame back / on&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Shift+,&lt;/b&gt; / &lt;b&gt;Shift+.&lt;/b&gt;&lt;/td&gt;&lt;td&gt;10 frames back / on&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+,&lt;/b&gt; / &lt;b&gt;Ctrl+.&lt;/b&gt;&lt;/td&gt;&lt;td&gt;100 frames back / on&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;[&lt;/b&gt; / &lt;b&gt;]&lt;/b&gt;&lt;/td&gt;&lt;td&gt;to the previous / next event&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Space&lt;/b&gt;&lt;/td&gt;&lt;td&gt;play or pause at the recorded pace&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+G&lt;/b&gt;&lt;/td&gt;&lt;td&gt;go to a frame by number&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+1&lt;/b&gt; ... &lt;b&gt;Ctrl+9&lt;/b&gt;&lt;/td&gt;&lt;td&gt;a station, signal, speed limit, speed check, slope, sign, tunnel, sound or announcement at the cursor&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;K&lt;/b&gt;&lt;/td&gt;&lt;td&gt;a recorded-speed keyframe at the cursor&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl++&lt;/b&gt; / &lt;b&gt;Ctrl+-&lt;/b&gt; / &lt;b&gt;Ctrl+0&lt;/b&gt;&lt;/td&gt;&lt;td&gt;zoom the timeline in / out / to the whole route (or Ctrl+wheel)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+Z&lt;/b&gt; / &lt;b&gt;Ctrl+Shift+Z&lt;/b&gt;&lt;/td&gt;&lt;td&gt;undo / redo&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Delete&lt;/b&gt;&lt;/td&gt;&lt;td&gt;delete the selected rows (Ctrl+click or Shift+click selects several)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+S&lt;/b&gt;&lt;/td&gt;&lt;td&gt;save&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+N&lt;/b&gt; / &lt;b&gt;Ctrl+O&lt;/b&gt;&lt;/td&gt;&lt;td&gt;a new route / another route&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;F5&lt;/b&gt;&lt;/td&gt;&lt;td&gt;test drive from the cursor&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;p&gt;On the timeline: click a row to select it, drag one of its marks to move that position, click elsewhere to move the cursor. On the recorded-speed curve: drag a keyframe, double-click to add one, right-click to remove one.&lt;/p&gt;</source>
        <translation>&lt;table&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;,&lt;/b&gt; / &lt;b&gt;.&lt;/b&gt;&lt;/td&gt;&lt;td&gt;1 フレーム戻る / 進む&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Shift+,&lt;/b&gt; / &lt;b&gt;Shift+.&lt;/b&gt;&lt;/td&gt;&lt;td&gt;10 フレーム戻る / 進む&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+,&lt;/b&gt; / &lt;b&gt;Ctrl+.&lt;/b&gt;&lt;/td&gt;&lt;td&gt;100 フレーム戻る / 進む&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;[&lt;/b&gt; / &lt;b&gt;]&lt;/b&gt;&lt;/td&gt;&lt;td&gt;前 / 次のイベントへ&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Space&lt;/b&gt;&lt;/td&gt;&lt;td&gt;撮影時の速さで再生 / 一時停止&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+G&lt;/b&gt;&lt;/td&gt;&lt;td&gt;フレーム番号を指定して移動&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+1&lt;/b&gt; ... &lt;b&gt;Ctrl+9&lt;/b&gt;&lt;/td&gt;&lt;td&gt;カーソル位置に駅・信号・速度制限・速度照査・勾配・標識・トンネル・沿線の音・車内放送を追加&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;K&lt;/b&gt;&lt;/td&gt;&lt;td&gt;カーソル位置に撮影時速度のキーフレームを追加&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl++&lt;/b&gt; / &lt;b&gt;Ctrl+-&lt;/b&gt; / &lt;b&gt;Ctrl+0&lt;/b&gt;&lt;/td&gt;&lt;td&gt;タイムラインの拡大 / 縮小 / 路線全体の表示 (Ctrl+ホイールでも可)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+Z&lt;/b&gt; / &lt;b&gt;Ctrl+Shift+Z&lt;/b&gt;&lt;/td&gt;&lt;td&gt;元に戻す / やり直し&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Delete&lt;/b&gt;&lt;/td&gt;&lt;td&gt;選択した行を削除 (Ctrl+クリックや Shift+クリックで複数選択)&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+S&lt;/b&gt;&lt;/td&gt;&lt;td&gt;保存&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;Ctrl+N&lt;/b&gt; / &lt;b&gt;Ctrl+O&lt;/b&gt;&lt;/td&gt;&lt;td&gt;新しい路線 / ほかの路線を開く&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;&lt;b&gt;F5&lt;/b&gt;&lt;/td&gt;&lt;td&gt;カーソル位置から試運転&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;p&gt;タイムラインでは、行をクリックすると選択し、その印をドラッグすると位置を動かせます。それ以外の場所をクリックするとカーソルが移動します。撮影時速度の曲線では、キーフレームをドラッグして動かし、ダブルクリックで追加、右クリックで削除します。&lt;/p&gt;</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>路線情報</translation>
    </message>
    <message>
        <source>Pictures and sounds</source>
        <translation>画像と音声</translation>
    </message>
    <message numerus="yes">
        <source>%n warning(s)</source>
        <translation>
            <numerusform>警告 %n 件</numerusform>
        </translation>
    </message>
    <message>
        <source>Check</source>
        <translation>チェック</translation>
    </message>
    <message>
        <source>The video &quot;%1&quot; cannot be read.</source>
        <translation>動画「%1」を読み込めません。</translation>
    </message>
    <message>
        <source>Slow to seek</source>
        <translation>シークが遅い動画</translation>
    </message>
    <message>
        <source>%1

Prepare a quick-seeking working copy now? It shows the same frame at every position, is kept in your cache folder and is used by the editor and the driving window; the route keeps naming the original.</source>
        <translation>%1

高速シーク用の作業コピーを今すぐ作成しますか? どの位置でも同じフレームを表示し、キャッシュフォルダに保存され、エディタと運転画面の両方で使われます。路線ファイルは元の動画を指したままです。</translation>
    </message>
    <message>
        <source>This video&apos;s pictures are much larger than the view.</source>
        <translation>この動画の画像は表示サイズよりずっと大きくなっています。</translation>
    </message>
    <message>
        <source>The quick-seeking copy is ready and in use.</source>
        <translation>高速シーク用コピーができあがり、使用中です。</translation>
    </message>
    <message>
        <source>Cancelled: no working copy was kept.</source>
        <translation>中止しました: 作業コピーは残していません。</translation>
    </message>
    <message>
        <source>Quick-seeking copy</source>
        <translation>高速シーク用コピー</translation>
    </message>
    <message>
        <source>%1 - Route editor</source>
        <translation>%1 - 路線エディタ</translation>
    </message>
    <message>
        <source>Cannot save %1: %2</source>
        <translation>%1 を保存できません: %2</translation>
    </message>
    <message>
        <source>Route editor</source>
        <translation>路線エディタ</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>%1 を保存しました</translation>
    </message>
    <message>
        <source>Test drive</source>
        <translation>試運転</translation>
    </message>
    <message numerus="yes">
        <source>The route has %n error(s); a run would stop at the first. Mend them first (the check list says where).</source>
        <translation>
            <numerusform>路線にエラーが %n 件あり、運転は最初のエラーで止まります。先に修正してください (場所はチェック一覧に表示されています)。</numerusform>
        </translation>
    </message>
    <message>
        <source>Save the changes to %1?</source>
        <translation>%1 への変更を保存しますか?</translation>
    </message>
    <message>
        <source>New route</source>
        <translation>新しい路線</translation>
    </message>
    <message>
        <source>The new route&apos;s code (its files are CODE_line.txt and CODE_train.txt):</source>
        <translation>新しい路線のコード (ファイル名は CODE_line.txt と CODE_train.txt になります):</translation>
    </message>
    <message>
        <source>The data folder has a route %1 already.</source>
        <translation>データフォルダにはすでに路線 %1 があります。</translation>
    </message>
    <message>
        <source>Check: %1, %2</source>
        <translation>チェック: %1、%2</translation>
    </message>
    <message numerus="yes">
        <source>%n error(s)</source>
        <translation>
            <numerusform>エラー %n 件</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ts::editor::FileListsTab</name>
    <message>
        <source>Route sounds</source>
        <translation>路線の音声</translation>
    </message>
    <message>
        <source>Call-out waves (28)</source>
        <translation>喚呼の音声 (28 個)</translation>
    </message>
    <message>
        <source>More call-outs</source>
        <translation>追加の喚呼</translation>
    </message>
    <message>
        <source>Sign pictures</source>
        <translation>標識の画像</translation>
    </message>
    <message>
        <source>Other pictures and their waves</source>
        <translation>その他の画像と音声</translation>
    </message>
    <message>
        <source>Signal pictures</source>
        <translation>信号の画像</translation>
    </message>
    <message>
        <source>%1 is not in the data folder</source>
        <translation>%1 はデータフォルダにありません</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>追加(&amp;A)...</translation>
    </message>
    <message>
        <source>&amp;Choose file...</source>
        <translation>ファイルを選択(&amp;C)...</translation>
    </message>
    <message>
        <source>De&amp;lete</source>
        <translation>削除(&amp;L)</translation>
    </message>
    <message>
        <source>Rows refer to an entry by its number (shown at the left, from 0): deleting or adding one renumbers those after it.</source>
        <translation>各表の行は項目を番号 (左端に表示、0 から) で参照します。項目を削除・追加すると、それより後の番号がずれます。</translation>
    </message>
    <message>
        <source>This list always holds %1 entries: edit them.</source>
        <translation>この一覧は常に %1 項目です。各項目を編集してください。</translation>
    </message>
    <message>
        <source>No picture in this list</source>
        <translation>この一覧に画像はありません</translation>
    </message>
    <message>
        <source>Select an entry</source>
        <translation>項目を選択してください</translation>
    </message>
    <message>
        <source>%1
cannot be read</source>
        <translation>%1
を読み込めません</translation>
    </message>
    <message>
        <source>%1: %2 × %3</source>
        <translation>%1: %2 × %3</translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.png *.jpg);;All files (*)</source>
        <translation>画像 (*.bmp *.png *.jpg);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Sounds (*.wav);;All files (*)</source>
        <translation>音声 (*.wav);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Choose a file in the data folder</source>
        <translation>データフォルダ内のファイルを選択</translation>
    </message>
    <message>
        <source>Route editor</source>
        <translation>路線エディタ</translation>
    </message>
    <message>
        <source>%1 lies outside the data folder. A route names its files relative to that folder, so that it moves to another machine whole. Copy it into the folder as %2?</source>
        <translation>%1 はデータフォルダの外にあります。路線はファイルをデータフォルダからの相対パスで指定するため、フォルダごとほかのマシンに移せます。%2 としてフォルダにコピーしますか?</translation>
    </message>
    <message>
        <source>&amp;Copy into the folder</source>
        <translation>フォルダにコピー(&amp;C)</translation>
    </message>
    <message>
        <source>Cannot read %1: %2</source>
        <translation>%1 を読み込めません: %2</translation>
    </message>
    <message>
        <source>The data folder has a file %1 already: choose that one, or rename one of them.</source>
        <translation>データフォルダにはすでにファイル %1 があります。そちらを選ぶか、どちらかの名前を変えてください。</translation>
    </message>
    <message>
        <source>Cannot copy %1 into the data folder: %2</source>
        <translation>%1 をデータフォルダにコピーできません: %2</translation>
    </message>
</context>
<context>
    <name>ts::editor::GpsImportDialog</name>
    <message>
        <source>Import GPS track</source>
        <translation>GPSトラックの読み込み</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>参照...</translation>
    </message>
    <message>
        <source>GPS track (GPX):</source>
        <translation>GPSトラック (GPX):</translation>
    </message>
    <message>
        <source>Which moment of the track each frame shows</source>
        <translation>各フレームがトラックのどの時刻にあたるか</translation>
    </message>
    <message>
        <source>Offset</source>
        <translation>オフセット</translation>
    </message>
    <message>
        <source> s</source>
        <translation> 秒</translation>
    </message>
    <message>
        <source>Frame 0 is this many seconds after the track&apos;s first point (negative: before it).</source>
        <translation>フレーム 0 がトラックの最初の点から何秒後か (負の値: 前)。</translation>
    </message>
    <message>
        <source>Two sync marks</source>
        <translation>2 つの同期点</translation>
    </message>
    <message>
        <source>FRAME=TIME: the frame shows that track time (ISO 8601, or seconds after the first point).</source>
        <translation>フレーム=時刻: そのフレームがトラックのその時刻にあたります (ISO 8601 形式、または最初の点からの秒数)。</translation>
    </message>
    <message>
        <source>Line up with the video&apos;s standstills</source>
        <translation>動画の停止に合わせる</translation>
    </message>
    <message>
        <source>The offset at which the track stands where the picture stands still.</source>
        <translation>映像が止まっている所でトラックも止まるオフセットを求めます。</translation>
    </message>
    <message>
        <source>Recorded speed</source>
        <translation>撮影時の速度</translation>
    </message>
    <message>
        <source>Slopes</source>
        <translation>勾配</translation>
    </message>
    <message>
        <source>Stations</source>
        <translation>駅</translation>
    </message>
    <message>
        <source> km/h</source>
        <translation> km/h</translation>
    </message>
    <message>
        <source>Tolerance:</source>
        <translation>許容差:</translation>
    </message>
    <message>
        <source>Rewrite:</source>
        <translation>書き換える表:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>プレビュー</translation>
    </message>
    <message>
        <source>From the track</source>
        <translation>トラックから</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>適用</translation>
    </message>
    <message>
        <source>GPS track of the ride</source>
        <translation>乗車時のGPSトラック</translation>
    </message>
    <message>
        <source>GPS tracks (*.gpx);;All files (*)</source>
        <translation>GPSトラック (*.gpx);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Choose the GPS track of the ride.</source>
        <translation>乗車時のGPSトラックを選んでください。</translation>
    </message>
    <message>
        <source>Choose what to rewrite.</source>
        <translation>書き換える表を選んでください。</translation>
    </message>
    <message>
        <source>Cannot write a temporary file.</source>
        <translation>一時ファイルを書き込めません。</translation>
    </message>
    <message>
        <source>Analysing the video&apos;s motion...</source>
        <translation>動画の動きを解析しています...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>The video&apos;s motion: %1</source>
        <translation>動画の動き: %1</translation>
    </message>
    <message>
        <source>No offset lays the video&apos;s %1 standstills over the track&apos;s %2.</source>
        <translation>動画の停止 %1 か所をトラックの停止 %2 か所に重ねるオフセットが見つかりません。</translation>
    </message>
    <message>
        <source>Offset %1 s lays the video&apos;s %2 standstills over the track&apos;s %3.</source>
        <translation>オフセット %1 秒で、動画の停止 %2 か所がトラックの停止 %3 か所に重なります。</translation>
    </message>
</context>
<context>
    <name>ts::editor::PackageExportDialog</name>
    <message>
        <source>Export route package</source>
        <translation>路線パッケージの書き出し</translation>
    </message>
    <message>
        <source>for example: CC BY 4.0, or: may be shared unchanged</source>
        <translation>例: CC BY 4.0、または「改変しなければ共有可」</translation>
    </message>
    <message>
        <source>Author:</source>
        <translation>作者:</translation>
    </message>
    <message>
        <source>Licence:</source>
        <translation>ライセンス:</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>選択…</translation>
    </message>
    <message>
        <source>Package file:</source>
        <translation>パッケージファイル:</translation>
    </message>
    <message>
        <source>Include the video (only when it is yours to share)</source>
        <translation>動画を含める (共有する権利がある場合のみ)</translation>
    </message>
    <message>
        <source>Fingerprinting the video… %p%</source>
        <translation>動画の指紋を計算しています… %p%</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>書き出し</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Route package</source>
        <translation>路線パッケージ</translation>
    </message>
    <message>
        <source>Route packages (*.trainsim-route)</source>
        <translation>路線パッケージ (*.trainsim-route)</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Packing…</source>
        <translation>パッケージにしています…</translation>
    </message>
    <message>
        <source>Written %1: %2 files and the video&apos;s fingerprint.</source>
        <translation>%1 を書き出しました: ファイル %2 個と動画の指紋。</translation>
    </message>
    <message>
        <source>Not written: %1</source>
        <translation>書き出せませんでした: %1</translation>
    </message>
</context>
<context>
    <name>ts::editor::SingleValuesForm</name>
    <message>
        <source>From the video</source>
        <translation>動画から</translation>
    </message>
</context>
<context>
    <name>ts::editor::SpeedChart</name>
    <message>
        <source>frame</source>
        <translation>フレーム</translation>
    </message>
    <message>
        <source>km/h</source>
        <translation>km/h</translation>
    </message>
    <message>
        <source>Now</source>
        <translation>現在</translation>
    </message>
</context>
<context>
    <name>ts::editor::SpeedVideoDialog</name>
    <message>
        <source>Speed from the video</source>
        <translation>動画から速度を求める</translation>
    </message>
    <message>
        <source>The recorded speed from the motion seen in the video, scaled by the route&apos;s distance marks (the &quot;Distance marks&quot; table) or, when it has none, by the distances between its stations.</source>
        <translation>動画に映る動きから撮影時の速度を求めます。縮尺は路線の距離標 (「距離標」の表) で合わせ、距離標がなければ駅間の距離で合わせます。</translation>
    </message>
    <message>
        <source>Motion of the video: %p %</source>
        <translation>動画の動き: %p %</translation>
    </message>
    <message>
        <source>Analyse</source>
        <translation>解析</translation>
    </message>
    <message>
        <source>Cancel analysis</source>
        <translation>解析を中止</translation>
    </message>
    <message>
        <source> km/h</source>
        <translation> km/h</translation>
    </message>
    <message>
        <source>frame</source>
        <translation>フレーム</translation>
    </message>
    <message>
        <source>Known speed (without marks):</source>
        <translation>既知の速度 (距離標がないとき):</translation>
    </message>
    <message>
        <source>Tolerance:</source>
        <translation>許容差:</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>プレビュー</translation>
    </message>
    <message>
        <source>From the video</source>
        <translation>動画から</translation>
    </message>
    <message>
        <source>Standstills</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>適用</translation>
    </message>
    <message>
        <source>The analysis was cancelled.</source>
        <translation>解析を中止しました。</translation>
    </message>
    <message>
        <source>The video &quot;%1&quot;: %2</source>
        <translation>動画「%1」: %2</translation>
    </message>
    <message>
        <source>Analyse the video first.</source>
        <translation>先に動画を解析してください。</translation>
    </message>
    <message>
        <source>Cannot write a temporary file.</source>
        <translation>一時ファイルを書き込めません。</translation>
    </message>
    <message>
        <source>stations</source>
        <translation>駅間距離</translation>
    </message>
    <message>
        <source>%1 marks from %2</source>
        <translation>%2から求めた %1 点</translation>
    </message>
    <message>
        <source>the speed %1 km/h at frame %2</source>
        <translation>フレーム %2 での速度 %1 km/h</translation>
    </message>
</context>
<context>
    <name>ts::editor::Timeline</name>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>Standstills</source>
        <translation>停止区間</translation>
    </message>
</context>
<context>
    <name>ts::editor::VideoPane</name>
    <message>
        <source>Frame %1 shown while the frame is decoded…</source>
        <translation>デコード中のためフレーム %1 を表示しています…</translation>
    </message>
    <message>
        <source>Play or pause at the recorded pace (Space)</source>
        <translation>撮影時の速さで再生 / 一時停止 (Space)</translation>
    </message>
    <message>
        <source>This video is slow to seek (a keyframe every %1 s, pictures of %2 × %3): a jump shows the nearest decoded picture first. Video &gt; Prepare a quick-seeking copy makes a working copy that seeks at once.</source>
        <translation>この動画はシークが遅い形式です (キーフレームが %1 秒ごと、画像 %2 × %3)。移動するとまず近くのデコード済みの画像を表示します。「動画 &gt; 高速シーク用コピーを作成」で、すぐにシークできる作業コピーを作れます。</translation>
    </message>
    <message>
        <source>Frame %1 / %2  %3</source>
        <translation>フレーム %1 / %2  %3</translation>
    </message>
    <message>
        <source>  %1 km/h</source>
        <translation>  %1 km/h</translation>
    </message>
</context>
</TS>
