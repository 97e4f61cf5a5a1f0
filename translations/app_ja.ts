<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>CueLine</name>
    <message>
        <source>Call-out: nothing ahead to call out</source>
        <translation>喚呼: 前方に喚呼するものはありません</translation>
    </message>
    <message>
        <source>Call-out: the sign ahead</source>
        <translation>喚呼: 前方の標識</translation>
    </message>
    <message>
        <source>Call-out: speed limit %1 km/h</source>
        <translation>喚呼: 速度制限 %1 km/h</translation>
    </message>
    <message>
        <source>Call-out: signal at stop</source>
        <translation>喚呼: 信号 停止</translation>
    </message>
    <message>
        <source>Call-out: signal at caution-caution</source>
        <translation>喚呼: 信号 警戒</translation>
    </message>
    <message>
        <source>Call-out: signal at caution</source>
        <translation>喚呼: 信号 注意</translation>
    </message>
    <message>
        <source>Call-out: signal at reduced speed</source>
        <translation>喚呼: 信号 減速</translation>
    </message>
    <message>
        <source>Call-out: signal clear</source>
        <translation>喚呼: 信号 進行</translation>
    </message>
    <message>
        <source>Call-out: repeater at caution</source>
        <translation>喚呼: 中継信号 注意</translation>
    </message>
    <message>
        <source>Call-out: %1</source>
        <translation>喚呼: %1</translation>
    </message>
    <message>
        <source>Train protection: alarm confirmed</source>
        <translation>ATS: 警報を確認しました</translation>
    </message>
    <message>
        <source>Departure melody: close the doors (d) when it ends</source>
        <translation>発車メロディー: 鳴り終わったらドアを閉めてください (d)</translation>
    </message>
    <message>
        <source>Departure melody: the doors close when it ends</source>
        <translation>発車メロディー: 鳴り終わるとドアが閉まります</translation>
    </message>
    <message>
        <source>The melody has ended: close the doors (d)</source>
        <translation>メロディーが終わりました: ドアを閉めてください (d)</translation>
    </message>
    <message>
        <source>Doors closing</source>
        <translation>ドアが閉まります</translation>
    </message>
    <message>
        <source>&lt;b style=&apos;font-size:150%&apos;&gt;Paused&lt;/b&gt;&lt;br&gt;Start in the menu resumes the run. Handles moved now take effect when it resumes.</source>
        <translation>&lt;b style=&apos;font-size:150%&apos;&gt;一時停止中&lt;/b&gt;&lt;br&gt;メニューの Start で運転を再開します。停止中に動かしたハンドルは再開後に効きます。</translation>
    </message>
    <message>
        <source>Distance to the stop mark of the next stop. The red tick beside the view shows the same distance: level with the middle at 0 m.</source>
        <translation>次の停車駅の停止位置目標までの距離です。前面展望の横の赤い目盛りも同じ距離を示し、0 m で中央の高さに来ます。</translation>
    </message>
    <message>
        <source>Stop mark %1 m</source>
        <translation>停止位置まで %1 m</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>Loading…</source>
        <translation>読み込み中…</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The live link is off.</source>
        <translation>ライブリンクは切れています。</translation>
    </message>
    <message>
        <source>Live link open at %1
Dashboard: %2
Overlay: %3
Clients connected: %4
Clients may drive: %5</source>
        <translation>ライブリンクを %1 で開いています
ダッシュボード: %2
オーバーレイ: %3
接続中のクライアント: %4
クライアントからの運転: %5</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>可</translation>
    </message>
    <message>
        <source>no</source>
        <translation>不可</translation>
    </message>
    <message>
        <source>
Open to the network. Token: %1</source>
        <translation>
ネットワークに公開しています。トークン: %1</translation>
    </message>
    <message>
        <source>
On the network: %1</source>
        <translation>
ネットワーク上のアドレス: %1</translation>
    </message>
    <message>
        <source>Live link</source>
        <translation>ライブリンク</translation>
    </message>
    <message>
        <source>Port </source>
        <translation>ポート </translation>
    </message>
    <message>
        <source>Let clients drive (send the driver&apos;s commands)</source>
        <translation>クライアントからの運転を許可する (運転操作を送れます)</translation>
    </message>
    <message>
        <source>Let other machines on the network connect (with a token)</source>
        <translation>ネットワーク上の他のマシンからの接続を許可する (トークンが必要)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>開く</translation>
    </message>
    <message>
        <source>Cannot open the live link: %1</source>
        <translation>ライブリンクを開けません: %1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Hat %1 %2</source>
        <translation>ハット %1 %2</translation>
    </message>
    <message>
        <source>Button %1</source>
        <translation>ボタン %1</translation>
    </message>
    <message>
        <source>The recording stopped: %1</source>
        <translation>記録を中止しました: %1</translation>
    </message>
    <message>
        <source>Speed along the line</source>
        <translation>路線上の速度</translation>
    </message>
    <message>
        <source>Recorded speed</source>
        <translation>記録された速度</translation>
    </message>
    <message>
        <source>Speed limit</source>
        <translation>速度制限</translation>
    </message>
    <message>
        <source>Signal speed</source>
        <translation>信号の制限速度</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Alarms, emergency brakes, overspeed</source>
        <translation>警報・非常ブレーキ・速度超過</translation>
    </message>
    <message>
        <source>Stations</source>
        <translation>駅</translation>
    </message>
    <message>
        <source>Stations passed by timetable</source>
        <translation>通過駅</translation>
    </message>
    <message>
        <source>Distance from the start of the line (km)</source>
        <translation>起点からの距離 (km)</translation>
    </message>
    <message>
        <source>Speed (km/h)</source>
        <translation>速度 (km/h)</translation>
    </message>
    <message>
        <source>pass</source>
        <translation>通過</translation>
    </message>
    <message>
        <source>start</source>
        <translation>始発</translation>
    </message>
    <message>
        <source>ran through</source>
        <translation>停車駅を通過</translation>
    </message>
    <message>
        <source>skipped by a jump</source>
        <translation>移動で飛ばした</translation>
    </message>
    <message>
        <source>not reached</source>
        <translation>未到達</translation>
    </message>
    <message>
        <source>at the platform</source>
        <translation>停止位置内</translation>
    </message>
    <message>
        <source>overrun</source>
        <translation>行き過ぎ</translation>
    </message>
    <message>
        <source>short of the platform</source>
        <translation>停止位置手前</translation>
    </message>
    <message>
        <source>Drive report</source>
        <translation>運転結果</translation>
    </message>
    <message>
        <source>Score</source>
        <translation>得点</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>駅</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停車</translation>
    </message>
    <message>
        <source>From the mark</source>
        <translation>停止位置との差</translation>
    </message>
    <message>
        <source>Doors</source>
        <translation>ドア</translation>
    </message>
    <message>
        <source>Departure</source>
        <translation>発車</translation>
    </message>
    <message>
        <source>Points lost</source>
        <translation>減点</translation>
    </message>
    <message>
        <source>Running %1 s, standing %2 s, %3 m; hardest braking %4 m/s², largest jerk %5 m/s³.</source>
        <translation>走行 %1 秒、停車 %2 秒、%3 m。最大減速度 %4 m/s²、最大加加速度 %5 m/s³。</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back ボタン</translation>
    </message>
    <message>
        <source>Guide</source>
        <translation>Guide ボタン</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start ボタン</translation>
    </message>
    <message>
        <source>Left stick</source>
        <translation>左スティック</translation>
    </message>
    <message>
        <source>Right stick</source>
        <translation>右スティック</translation>
    </message>
    <message>
        <source>Left shoulder</source>
        <translation>左ショルダー</translation>
    </message>
    <message>
        <source>Right shoulder</source>
        <translation>右ショルダー</translation>
    </message>
    <message>
        <source>Pad up</source>
        <translation>十字キー上</translation>
    </message>
    <message>
        <source>Pad down</source>
        <translation>十字キー下</translation>
    </message>
    <message>
        <source>Pad left</source>
        <translation>十字キー左</translation>
    </message>
    <message>
        <source>Pad right</source>
        <translation>十字キー右</translation>
    </message>
    <message>
        <source>up</source>
        <translation>上</translation>
    </message>
    <message>
        <source>right</source>
        <translation>右</translation>
    </message>
    <message>
        <source>down</source>
        <translation>下</translation>
    </message>
    <message>
        <source>left</source>
        <translation>左</translation>
    </message>
    <message>
        <source> (%1%2 s)</source>
        <translation> (%1%2 秒)</translation>
    </message>
</context>
<context>
    <name>Recording</name>
    <message>
        <source>the run has started</source>
        <translation>運転はすでに始まっています</translation>
    </message>
    <message>
        <source>the recording names no train</source>
        <translation>記録に列車の指定がありません</translation>
    </message>
    <message>
        <source>the recording is of train %1, not %2 (--force replays it anyway)</source>
        <translation>この記録は列車 %1 のもので、%2 のものではありません (--force で強制的に再生できます)</translation>
    </message>
    <message>
        <source>the data files of train %1 changed since the recording was made (--force replays it anyway)</source>
        <translation>記録したあとで列車 %1 のデータファイルが変わっています (--force で強制的に再生できます)</translation>
    </message>
</context>
<context>
    <name>ReleaseHint</name>
    <message>
        <source>Emergency brake by train protection: stop, put the brake handle to EB (0), press r</source>
        <translation>ATS による非常ブレーキ: 停車し、ブレーキハンドルを EB (0) にして r を押してください</translation>
    </message>
    <message>
        <source>Emergency brake by the vigilance device: stop, put the brake handle to EB (0), press r</source>
        <translation>EB 装置による非常ブレーキ: 停車し、ブレーキハンドルを EB (0) にして r を押してください</translation>
    </message>
    <message>
        <source>Speed-control brake: it releases once the train is below the permitted speed</source>
        <translation>速度照査ブレーキ: 制限速度を下回ると緩みます</translation>
    </message>
    <message>
        <source>Train protection alarm: put the brake handle in a braking position and press space</source>
        <translation>ATS 警報: ブレーキハンドルをブレーキ位置にしてスペースキーを押してください</translation>
    </message>
    <message>
        <source>Vigilance: press any driving key</source>
        <translation>EB 装置: 運転操作のキーをどれか押してください</translation>
    </message>
</context>
<context>
    <name>ReplayPlayer</name>
    <message>
        <source>line %1: %2</source>
        <translation>%1 行目: %2</translation>
    </message>
    <message>
        <source>its steps bring the run to %1/%2, but line %3 was recorded after %4/%5</source>
        <translation>この行のステップでは %1/%2 になりますが、%3 行目は %4/%5 の後に記録されています</translation>
    </message>
    <message>
        <source>recorded after %1/%2 steps, but the replay has run %3/%4</source>
        <translation>%1/%2 ステップの後に記録されていますが、リプレイは %3/%4 まで進んでいます</translation>
    </message>
</context>
<context>
    <name>SetupDialog</name>
    <message>
        <source>None</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>Even</source>
        <translation>偶数</translation>
    </message>
    <message>
        <source>Odd</source>
        <translation>奇数</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>マーク</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>スペース</translation>
    </message>
    <message>
        <source>Hardware</source>
        <translation>ハードウェア</translation>
    </message>
    <message>
        <source>Software</source>
        <translation>ソフトウェア</translation>
    </message>
</context>
<context>
    <name>VideoCache</name>
    <message>
        <source>The video %1 cannot be read.</source>
        <translation>映像 %1 を読み込めません。</translation>
    </message>
    <message>
        <source>The working copy cannot be written in %1: %2</source>
        <translation>作業用コピーを %1 に書き込めません: %2</translation>
    </message>
    <message>
        <source>The working copy of %1 would not show the same frames; it was not kept.</source>
        <translation>%1 の作業用コピーは同じコマを表示できないため、保存しませんでした。</translation>
    </message>
    <message>
        <source>Cancelled: no working copy was kept.</source>
        <translation>中止しました。作業用コピーは残していません。</translation>
    </message>
    <message>
        <source>This system&apos;s FFmpeg has no H.264 encoder (libx264): no working copy can be made.</source>
        <translation>このシステムの FFmpeg には H.264 エンコーダー (libx264) がないため、作業用コピーを作れません。</translation>
    </message>
    <message>
        <source>The disk is full: the working copy of %1 does not fit in %2. Nothing was kept; make room there and prepare it again.</source>
        <translation>ディスクがいっぱいです。%1 の作業用コピーが %2 に収まりません。何も残していません。空きを作ってからもう一度準備してください。</translation>
    </message>
    <message>
        <source>The working copy of %1 could not be written (%2). Nothing was kept.</source>
        <translation>%1 の作業用コピーを書き込めませんでした (%2)。何も残していません。</translation>
    </message>
</context>
<context>
    <name>ts::InstallDialog</name>
    <message>
        <source>Install a route</source>
        <translation>路線のインストール</translation>
    </message>
    <message>
        <source>Choose…</source>
        <translation>選択…</translation>
    </message>
    <message>
        <source>Route package:</source>
        <translation>路線パッケージ:</translation>
    </message>
    <message>
        <source>Your copy of its video:</source>
        <translation>手元の映像ファイル:</translation>
    </message>
    <message>
        <source>Comparing pictures… %p%</source>
        <translation>映像を照合しています… %p%</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Match:</source>
        <translation>照合結果:</translation>
    </message>
    <message>
        <source>Set the offset by hand:</source>
        <translation>ずれを手動で指定:</translation>
    </message>
    <message>
        <source> frames</source>
        <translation> コマ</translation>
    </message>
    <message>
        <source>Install as train code:</source>
        <translation>インストールする列車コード:</translation>
    </message>
    <message>
        <source>Install</source>
        <translation>インストール</translation>
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
        <source>Route packages (*.trainsim-route);;All files (*)</source>
        <translation>路線パッケージ (*.trainsim-route);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Your copy of the route&apos;s video</source>
        <translation>路線の映像 (手元のファイル)</translation>
    </message>
    <message>
        <source>Videos (*.mp4 *.mkv *.avi *.mov *.webm);;All files (*)</source>
        <translation>映像 (*.mp4 *.mkv *.avi *.mov *.webm);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>This package is refused: %1</source>
        <translation>このパッケージは受け付けられません: %1</translation>
    </message>
    <message>
        <source>Train %1, &quot;%2&quot;</source>
        <translation>列車 %1「%2」</translation>
    </message>
    <message>
        <source>, by %1</source>
        <translation>、作者 %1</translation>
    </message>
    <message>
        <source> (%1)</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>. Its video: %1 frames (%2 s)%3.</source>
        <translation>。映像: %1 コマ (%2 秒)%3。</translation>
    </message>
    <message>
        <source>, included</source>
        <translation>、同梱</translation>
    </message>
    <message>
        <source>, not included: choose your copy</source>
        <translation>、同梱なし: 手元の映像を選んでください</translation>
    </message>
    <message>
        <source>This data folder has a route of train code %1: it is kept, and this one is offered under another code.</source>
        <translation>このデータフォルダーには列車コード %1 の路線がすでにあります。既存の路線は残し、この路線は別のコードでインストールします。</translation>
    </message>
    <message>
        <source>The package is whole and its files pass the check.</source>
        <translation>パッケージは完全で、ファイルはチェックに合格しました。</translation>
    </message>
    <message>
        <source>Comparing…</source>
        <translation>照合しています…</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>中止しました。</translation>
    </message>
    <message>
        <source>. The route will show this copy at the author&apos;s pictures.</source>
        <translation>。この映像を作者の映像に合わせて表示します。</translation>
    </message>
    <message>
        <source>. Refused: %1. Install anyway with the offset set by hand.</source>
        <translation>。不一致: %1。ずれを手動で指定すればインストールできます。</translation>
    </message>
    <message>
        <source>Not installed: %1</source>
        <translation>インストールしませんでした: %1</translation>
    </message>
    <message>
        <source>Installed as train %1 (%2 files). It is under &quot;Other routes…&quot;.</source>
        <translation>列車 %1 としてインストールしました (%2 ファイル)。「ほかの路線…」から選べます。</translation>
    </message>
</context>
<context>
    <name>ts::LinkServer</name>
    <message>
        <source>a token is needed: open the address the program shows, which ends in ?token=…</source>
        <translation>トークンが必要です。プログラムが表示する ?token=… で終わるアドレスを開いてください</translation>
    </message>
    <message>
        <source>wrong token</source>
        <translation>トークンが違います</translation>
    </message>
</context>
<context>
    <name>ts::PadDialog</name>
    <message>
        <source>hold</source>
        <translation>保ち</translation>
    </message>
    <message>
        <source>Game controller</source>
        <translation>ゲームコントローラー</translation>
    </message>
    <message numerus="yes">
        <source>… and %n more.</source>
        <translation>
            <numerusform>… ほか %n 件。</numerusform>
        </translation>
    </message>
    <message>
        <source>Lines of gamepad.txt that were skipped:</source>
        <translation>gamepad.txt で読み飛ばした行:</translation>
    </message>
    <message>
        <source> Levers </source>
        <translation> レバー </translation>
    </message>
    <message>
        <source>Value</source>
        <translation>値</translation>
    </message>
    <message>
        <source>Moves</source>
        <translation>操作対象</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>Max</source>
        <translation>最大</translation>
    </message>
    <message>
        <source>Inverted</source>
        <translation>反転</translation>
    </message>
    <message>
        <source>Dead zone</source>
        <translation>不感帯</translation>
    </message>
    <message>
        <source>Hysteresis</source>
        <translation>ヒステリシス</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Calibrate</source>
        <translation>調整</translation>
    </message>
    <message>
        <source>Move every lever to both ends, then press again.</source>
        <translation>すべてのレバーを両端まで動かしてから、もう一度押してください。</translation>
    </message>
    <message>
        <source> Buttons </source>
        <translation> ボタン </translation>
    </message>
    <message>
        <source>Action</source>
        <translation>動作</translation>
    </message>
    <message>
        <source>No game controller connected</source>
        <translation>ゲームコントローラーが接続されていません</translation>
    </message>
    <message>
        <source>Mapping from gamepad.txt.</source>
        <translation>gamepad.txt の割り当てです。</translation>
    </message>
    <message>
        <source>Not in gamepad.txt yet: the default mapping of a %1.</source>
        <translation>gamepad.txt にはまだありません: %1の標準の割り当てです。</translation>
    </message>
    <message>
        <source>standard gamepad</source>
        <translation>標準ゲームパッド</translation>
    </message>
    <message>
        <source>joystick</source>
        <translation>ジョイスティック</translation>
    </message>
    <message>
        <source>Connect a gamepad, joystick or USB train controller; it appears here.</source>
        <translation>ゲームパッド、ジョイスティック、USB 運転台コントローラーをつなぐと、ここに表示されます。</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Axis %1</source>
        <translation>軸 %1</translation>
    </message>
    <message>
        <source>nothing</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>power</source>
        <translation>力行</translation>
    </message>
    <message>
        <source>brake</source>
        <translation>ブレーキ</translation>
    </message>
    <message>
        <source>power and brake</source>
        <translation>力行とブレーキ</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完了</translation>
    </message>
    <message>
        <source>Move every lever to both ends, then press Done.</source>
        <translation>すべてのレバーを両端まで動かしてから「完了」を押してください。</translation>
    </message>
    <message>
        <source>Calibrated. Save keeps it.</source>
        <translation>調整しました。保存すると記録されます。</translation>
    </message>
    <message>
        <source>gamepad.txt cannot be written in the data folder.</source>
        <translation>データフォルダーに gamepad.txt を書き込めません。</translation>
    </message>
    <message>
        <source>Left x</source>
        <translation>左 X</translation>
    </message>
    <message>
        <source>Left y</source>
        <translation>左 Y</translation>
    </message>
    <message>
        <source>Right x</source>
        <translation>右 X</translation>
    </message>
    <message>
        <source>Right y</source>
        <translation>右 Y</translation>
    </message>
    <message>
        <source>Left trigger</source>
        <translation>左トリガー</translation>
    </message>
    <message>
        <source>Right trigger</source>
        <translation>右トリガー</translation>
    </message>
    <message>
        <source>power-up</source>
        <translation>ノッチを進める</translation>
    </message>
    <message>
        <source>power-down</source>
        <translation>ノッチを戻す</translation>
    </message>
    <message>
        <source>brake-release</source>
        <translation>ブレーキを緩める</translation>
    </message>
    <message>
        <source>brake-apply</source>
        <translation>ブレーキを込める</translation>
    </message>
    <message>
        <source>emergency</source>
        <translation>非常ブレーキ</translation>
    </message>
    <message>
        <source>neutral</source>
        <translation>全て切</translation>
    </message>
    <message>
        <source>reverser-forward</source>
        <translation>レバーサー 前</translation>
    </message>
    <message>
        <source>reverser-neutral</source>
        <translation>レバーサー 中立</translation>
    </message>
    <message>
        <source>reverser-back</source>
        <translation>レバーサー 後</translation>
    </message>
    <message>
        <source>horn</source>
        <translation>警笛</translation>
    </message>
    <message>
        <source>whistle</source>
        <translation>電子笛</translation>
    </message>
    <message>
        <source>doors</source>
        <translation>ドア</translation>
    </message>
    <message>
        <source>confirm</source>
        <translation>ATS 確認</translation>
    </message>
    <message>
        <source>reset</source>
        <translation>ATS 復帰</translation>
    </message>
    <message>
        <source>call-out</source>
        <translation>喚呼</translation>
    </message>
    <message>
        <source>timetable</source>
        <translation>時刻表</translation>
    </message>
    <message>
        <source>value-display</source>
        <translation>数値表示</translation>
    </message>
</context>
<context>
    <name>ts::ReadmeWindow</name>
    <message>
        <source>Read me</source>
        <translation>お読みください</translation>
    </message>
    <message>
        <source>There is no readme.html in the data folder %1.</source>
        <translation>データフォルダー %1 に readme.html がありません。</translation>
    </message>
</context>
<context>
    <name>ts::ReplayWatch</name>
    <message>
        <source>Replay</source>
        <translation>リプレイ</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>%1× speed</source>
        <translation>%1 倍速</translation>
    </message>
    <message>
        <source>Take over the controls</source>
        <translation>運転を引き継ぐ</translation>
    </message>
    <message>
        <source>Live: you have the controls</source>
        <translation>ライブ: 運転を引き継ぎました</translation>
    </message>
    <message>
        <source>End of the recording</source>
        <translation>記録の終わりです</translation>
    </message>
    <message>
        <source>Replay stopped: %1</source>
        <translation>リプレイを中止しました: %1</translation>
    </message>
    <message>
        <source>Replay paused</source>
        <translation>リプレイ一時停止中</translation>
    </message>
    <message>
        <source>Replay %1×</source>
        <translation>リプレイ %1 倍速</translation>
    </message>
</context>
<context>
    <name>ts::ReportWindow</name>
    <message>
        <source>%1, km %2: </source>
        <translation>%1、%2 km 地点: </translation>
    </message>
    <message>
        <source> — confirmed after %1 s</source>
        <translation> — %1 秒後に確認</translation>
    </message>
    <message>
        <source> — not confirmed</source>
        <translation> — 確認なし</translation>
    </message>
    <message>
        <source>Drive report — %1</source>
        <translation>運転結果 — %1</translation>
    </message>
    <message>
        <source>The run reached the end of the line.</source>
        <translation>終点まで走行しました。</translation>
    </message>
    <message>
        <source>Station</source>
        <translation>駅</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停車</translation>
    </message>
    <message>
        <source>From the mark</source>
        <translation>停止位置との差</translation>
    </message>
    <message>
        <source>Doors</source>
        <translation>ドア</translation>
    </message>
    <message>
        <source>Departure</source>
        <translation>発車</translation>
    </message>
    <message>
        <source>%1, km %2: %4 km/h over the %5 of %6 km/h for %7 m</source>
        <translation>%1、%2 km 地点: %5 %6 km/h を %4 km/h 超過、%7 m</translation>
    </message>
    <message>
        <source>−%1 points: %2</source>
        <translation>−%1 点: %2</translation>
    </message>
    <message>
        <source>No alarms, emergency brakes or overspeed.</source>
        <translation>警報・非常ブレーキ・速度超過はありませんでした。</translation>
    </message>
    <message>
        <source>Save…</source>
        <translation>保存…</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Save the drive report</source>
        <translation>運転結果の保存</translation>
    </message>
    <message>
        <source>Web page (*.html);;JSON (*.json)</source>
        <translation>Web ページ (*.html);;JSON (*.json)</translation>
    </message>
    <message>
        <source>Cannot write %1.</source>
        <translation>%1 に書き込めません。</translation>
    </message>
    <message>
        <source>train protection alarm</source>
        <translation>ATS 警報</translation>
    </message>
    <message>
        <source>emergency brake by the train protection</source>
        <translation>ATS による非常ブレーキ</translation>
    </message>
    <message>
        <source>service brake by the speed control</source>
        <translation>速度照査による常用ブレーキ</translation>
    </message>
    <message>
        <source>emergency brake by the vigilance device</source>
        <translation>EB 装置による非常ブレーキ</translation>
    </message>
    <message>
        <source>signal passed at stop</source>
        <translation>停止信号の冒進</translation>
    </message>
    <message>
        <source>speed limit</source>
        <translation>速度制限</translation>
    </message>
    <message>
        <source>signal</source>
        <translation>信号</translation>
    </message>
    <message>
        <source>train&apos;s top speed</source>
        <translation>最高速度</translation>
    </message>
</context>
<context>
    <name>ts::TForm1</name>
    <message>
        <source>Record this run…</source>
        <translation>この運転を記録…</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>表示サイズ</translation>
    </message>
    <message>
        <source>1×</source>
        <translation>1 倍</translation>
    </message>
    <message>
        <source>1.5×</source>
        <translation>1.5 倍</translation>
    </message>
    <message>
        <source>2×</source>
        <translation>2 倍</translation>
    </message>
    <message>
        <source>3×</source>
        <translation>3 倍</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>全画面</translation>
    </message>
    <message>
        <source>Live link…</source>
        <translation>ライブリンク…</translation>
    </message>
    <message>
        <source>Smooth view</source>
        <translation>なめらか表示</translation>
    </message>
    <message>
        <source>Game controller…</source>
        <translation>ゲームコントローラー…</translation>
    </message>
    <message>
        <source>Needs %1 × %2 pixels; the screen has %3 × %4 free</source>
        <translation>%1 × %2 ピクセル必要です。画面の空きは %3 × %4 です</translation>
    </message>
    <message>
        <source>Record this run</source>
        <translation>この運転を記録</translation>
    </message>
    <message>
        <source>Recordings (*.txt)</source>
        <translation>運転記録 (*.txt)</translation>
    </message>
    <message>
        <source>This run is recorded to %1.</source>
        <translation>この運転を %1 に記録します。</translation>
    </message>
    <message>
        <source>This run has started: the next run is recorded to %1.</source>
        <translation>この運転はすでに始まっています。次の運転を %1 に記録します。</translation>
    </message>
    <message>
        <source>Cannot record: %1</source>
        <translation>記録できません: %1</translation>
    </message>
    <message>
        <source>Game controller connected: %1</source>
        <translation>ゲームコントローラーを接続しました: %1</translation>
    </message>
    <message>
        <source>Game controller disconnected: %1. The handles stay where they are.</source>
        <translation>ゲームコントローラーが外れました: %1。ハンドルはそのままの位置です。</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>一時停止</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>運転再開</translation>
    </message>
    <message>
        <source>Key help</source>
        <translation>操作説明</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>言語</translation>
    </message>
    <message>
        <source>Cannot open the controller port %1</source>
        <translation>コントローラーのポート %1 を開けません</translation>
    </message>
</context>
<context>
    <name>ts::TForm3</name>
    <message>
        <source>Speed</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>Brake cylinder pressure</source>
        <translation>ブレーキシリンダー圧力</translation>
    </message>
    <message>
        <source>Straight air pipe pressure</source>
        <translation>直通管圧力</translation>
    </message>
    <message>
        <source>Equalising reservoir pressure</source>
        <translation>釣り合い空気溜め圧力</translation>
    </message>
    <message>
        <source>Main reservoir pressure</source>
        <translation>元空気溜め圧力</translation>
    </message>
    <message>
        <source>Video frame</source>
        <translation>映像のコマ番号</translation>
    </message>
    <message>
        <source>Projected stopping distance</source>
        <translation>予測停止距離</translation>
    </message>
    <message>
        <source>Distance remaining to the stop mark</source>
        <translation>停止位置までの残り距離</translation>
    </message>
    <message>
        <source>Acceleration</source>
        <translation>加速度</translation>
    </message>
    <message>
        <source>Tractive force</source>
        <translation>引張力</translation>
    </message>
    <message>
        <source>Running resistance</source>
        <translation>走行抵抗</translation>
    </message>
    <message>
        <source>Gradient</source>
        <translation>勾配</translation>
    </message>
    <message>
        <source>Adhesion coefficient</source>
        <translation>粘着係数</translation>
    </message>
    <message>
        <source>Adhesion limit (power)</source>
        <translation>粘着限界 (力行)</translation>
    </message>
    <message>
        <source>Adhesion limit (brake)</source>
        <translation>粘着限界 (ブレーキ)</translation>
    </message>
</context>
<context>
    <name>ts::TForm4</name>
    <message>
        <source>%1 could not be read: the help stays empty.</source>
        <translation>%1 を読み込めませんでした。ヘルプは空のまま表示されます。</translation>
    </message>
</context>
<context>
    <name>ts::TForm5</name>
    <message>
        <source>Install a route…</source>
        <translation>路線をインストール…</translation>
    </message>
    <message>
        <source>Install a route package into this data folder, with your copy of its video</source>
        <translation>路線パッケージを手元の映像とともにこのデータフォルダーにインストールします</translation>
    </message>
    <message>
        <source>Other routes…</source>
        <translation>ほかの路線…</translation>
    </message>
    <message>
        <source>Drive a route of this data folder</source>
        <translation>このデータフォルダーのほかの路線を運転します</translation>
    </message>
    <message>
        <source>%1  Drive the electric train</source>
        <translation>%1  電車で走る</translation>
    </message>
    <message>
        <source>%1  Drive the diesel railcar</source>
        <translation>%1  気動車で走る</translation>
    </message>
    <message>
        <source>HELP</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>Open the read-me</source>
        <translation>説明書を開きます</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>End the program</source>
        <translation>プログラムを終了します</translation>
    </message>
    <message>
        <source>Cannot record: %1</source>
        <translation>記録できません: %1</translation>
    </message>
</context>
</TS>
