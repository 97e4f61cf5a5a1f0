<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>CheckCommand</name>
    <message>
        <source>error</source>
        <translation>エラー</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>note</source>
        <translation>注記</translation>
    </message>
    <message>
        <source> (a run shows &quot;%1&quot;)</source>
        <translation> (運転時の表示:「%1」)</translation>
    </message>
    <message>
        <source>1 error</source>
        <translation>エラー 1 件</translation>
    </message>
    <message>
        <source>%1 errors</source>
        <translation>エラー %1 件</translation>
    </message>
    <message>
        <source>1 warning</source>
        <translation>警告 1 件</translation>
    </message>
    <message>
        <source>%1 warnings</source>
        <translation>警告 %1 件</translation>
    </message>
    <message>
        <source>Reads each train&apos;s files as a run reads them and reports every error (the run would
refuse the file) and warning (it loads but misbehaves). Without CODE: every train
whose CODE_line.txt and CODE_train.txt are in the folder.
</source>
        <translation>各列車のファイルを運転時と同じように読み込み、エラー (運転時に読み込みを拒否されるもの) と
警告 (読み込めるが正しく動かないもの) をすべて報告します。CODE を省くと、
フォルダーに CODE_line.txt と CODE_train.txt がそろっているすべての列車を調べます。
</translation>
    </message>
    <message>
        <source>With --json the lines are in English whatever the language, for other programs.
</source>
        <translation>--json の出力は、ほかのプログラムが読むため、言語の設定にかかわらず英語です。
</translation>
    </message>
    <message>
        <source>no train in the data folder (no CODE_line.txt with its CODE_train.txt)</source>
        <translation>データフォルダーに列車がありません (CODE_line.txt と CODE_train.txt の組がありません)</translation>
    </message>
    <message>
        <source>%1: %2, %3</source>
        <translation>%1: %2、%3</translation>
    </message>
    <message>
        <source>%1 and %2 in %3 trains</source>
        <translation>%3 列車の合計: %1、%2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>unknown or incomplete option &apos;%1&apos;</source>
        <translation>不明なオプションか、値が足りません: &apos;%1&apos;</translation>
    </message>
    <message>
        <source>usage: %1</source>
        <translation>使い方: %1</translation>
    </message>
    <message>
        <source>cannot change into data folder &apos;%1&apos;</source>
        <translation>データフォルダー &apos;%1&apos; に移動できません</translation>
    </message>
    <message>
        <source>given with --data</source>
        <translation>--data で指定</translation>
    </message>
    <message>
        <source>the current folder</source>
        <translation>カレントフォルダー</translation>
    </message>
    <message>
        <source>the installed demo, as the current folder holds no data files</source>
        <translation>インストール済みのデモ (カレントフォルダーにデータファイルがないため)</translation>
    </message>
    <message>
        <source>the current folder (it holds no data files, and no installed demo was found)</source>
        <translation>カレントフォルダー (データファイルがなく、インストール済みのデモも見つかりません)</translation>
    </message>
    <message>
        <source>Commands:</source>
        <translation>コマンド:</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>オプション:</translation>
    </message>
    <message>
        <source>Data folder: %1
  (%2)</source>
        <translation>データフォルダー: %1
  (%2)</translation>
    </message>
    <message>
        <source>--scale takes 1, 1.5, 2, 3 or full</source>
        <translation>--scale には 1, 1.5, 2, 3, full のいずれかを指定してください</translation>
    </message>
    <message>
        <source>--smooth takes on or off</source>
        <translation>--smooth には on か off を指定してください</translation>
    </message>
    <message>
        <source>--link takes a port from 0 to 65535</source>
        <translation>--link には 0〜65535 のポート番号を指定してください</translation>
    </message>
    <message>
        <source>unknown command &apos;%1&apos;</source>
        <translation>不明なコマンドです: &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Try &apos;trainsim --help&apos;.</source>
        <translation>&apos;trainsim --help&apos; で使い方を表示できます。</translation>
    </message>
    <message>
        <source>the data folder has no train &apos;%1&apos; (%1_line.txt and %1_train.txt)</source>
        <translation>データフォルダーに列車 &apos;%1&apos; がありません (%1_line.txt と %1_train.txt)</translation>
    </message>
    <message>
        <source>cannot open the live link: %1</source>
        <translation>ライブリンクを開けません: %1</translation>
    </message>
    <message>
        <source>--link-wait takes seconds from 0 to 3600</source>
        <translation>--link-wait には 0〜3600 の秒数を指定してください</translation>
    </message>
    <message>
        <source>--tolerance-kmh takes a speed from 0.5 to 50</source>
        <translation>--tolerance-kmh には 0.5〜50 の速度を指定してください</translation>
    </message>
    <message>
        <source>--frames takes a frame count</source>
        <translation>--frames にはフレーム数を指定してください</translation>
    </message>
    <message>
        <source>--crawl-kmh takes a whole speed from 1 to 10</source>
        <translation>--crawl-kmh には 1〜10 の整数の速度を指定してください</translation>
    </message>
    <message>
        <source>--slope-window takes metres from 100 to 5000</source>
        <translation>--slope-window には 100〜5000 のメートル数を指定してください</translation>
    </message>
    <message>
        <source>--max-gap takes seconds from 1 to 600</source>
        <translation>--max-gap には 1〜600 の秒数を指定してください</translation>
    </message>
    <message>
        <source>--tz takes hours from -14 to 14, e.g. 9 or -5.5</source>
        <translation>--tz には -14〜14 の時間数を指定してください (例: 9、-5.5)</translation>
    </message>
    <message>
        <source>nothing was written</source>
        <translation>何も書き込んでいません</translation>
    </message>
    <message>
        <source>dry run: nothing was written</source>
        <translation>試行のみ: 何も書き込んでいません</translation>
    </message>
    <message>
        <source>wrote %1 (the old file is %2)</source>
        <translation>%1 を書き込みました (元のファイルは %2 です)</translation>
    </message>
    <message>
        <source>one train code only</source>
        <translation>列車コードは 1 つだけ指定してください</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>run a train headless from a script and write a JSON trace
(trainsim drive --train CODE [--data DIR] --script FILE [--trace FILE] [--until-ms N])</source>
        <translation>画面なしでスクリプトどおりに列車を運転し、JSON のトレースを書き出します
(trainsim drive --train CODE [--data DIR] --script FILE [--trace FILE] [--until-ms N])</translation>
    </message>
    <message>
        <source>report every problem in the data files of the trains, with file and line
(trainsim check [--data DIR] [--json] [CODE...])</source>
        <translation>列車のデータファイルの問題をすべて、ファイル名と行番号つきで報告します
(trainsim check [--data DIR] [--json] [CODE...])</translation>
    </message>
    <message>
        <source>make or change a route in the route editor: its video, a timeline of its events,
a live check and a test drive (trainsim edit [--data DIR] [CODE])</source>
        <translation>路線エディターで路線を作成・変更します: 動画、イベントのタイムライン、
その場でのチェックと試運転 (trainsim edit [--data DIR] [CODE])</translation>
    </message>
    <message>
        <source>recorded speed, gradients and stations of a route from a GPS track
(trainsim import-gps [--data DIR] CODE TRACK.gpx (--offset S | --sync F=T --sync F=T) ...)</source>
        <translation>GPS の軌跡から路線の記録速度・勾配・駅を作ります
(trainsim import-gps [--data DIR] CODE TRACK.gpx (--offset S | --sync F=T --sync F=T) ...)</translation>
    </message>
    <message>
        <source>a quick-seeking working copy of a route&apos;s video for the editor and the driving
window, in the user&apos;s cache folder (trainsim prepare-video [--data DIR] CODE)</source>
        <translation>エディターと運転画面のために、すばやくシークできる路線動画の作業用コピーを
ユーザーのキャッシュフォルダーに作ります (trainsim prepare-video [--data DIR] CODE)</translation>
    </message>
    <message>
        <source>a route as one file to send, with its video&apos;s fingerprint instead of the video
(trainsim pack [--data DIR] CODE [-o FILE] [--with-video] [--author T] [--licence T])</source>
        <translation>路線を送れる 1 つのファイルにまとめます。動画の代わりに動画の指紋を入れます
(trainsim pack [--data DIR] CODE [-o FILE] [--with-video] [--author T] [--licence T])</translation>
    </message>
    <message>
        <source>a route package into the data folder, matched and aligned with your copy of its video
(trainsim install FILE [--data DIR] [--video MYCOPY] [--offset FRAMES] [--code NEWCODE] [--force])</source>
        <translation>路線パッケージをデータフォルダーに入れ、手元の動画と照合して位置を合わせます
(trainsim install FILE [--data DIR] [--video MYCOPY] [--offset FRAMES] [--code NEWCODE] [--force])</translation>
    </message>
    <message>
        <source>recorded speed of a route from its video&apos;s motion and known distances
(trainsim speed-from-video [--data DIR] CODE [--marks FILE] [--speed F=KMH] [--dry-run])</source>
        <translation>動画の動きと既知の距離から路線の記録速度を作ります
(trainsim speed-from-video [--data DIR] CODE [--marks FILE] [--speed F=KMH] [--dry-run])</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(なし)</translation>
    </message>
    <message>
        <source>open the title screen and drive a train picked there</source>
        <translation>タイトル画面を開き、そこで選んだ列車を運転します</translation>
    </message>
</context>
<context>
    <name>DriveCommand</name>
    <message>
        <source>bad --until-ms &apos;%1&apos;</source>
        <translation>--until-ms の値が正しくありません: &apos;%1&apos;</translation>
    </message>
    <message>
        <source>A recording (--record) is a script too: replayed, it needs no --train.
</source>
        <translation>記録 (--record) もスクリプトです。記録を再生するときは --train はいりません。
</translation>
    </message>
    <message>
        <source>--script is required</source>
        <translation>--script を指定してください</translation>
    </message>
    <message>
        <source>cannot read script &apos;%1&apos;</source>
        <translation>スクリプト &apos;%1&apos; を読めません</translation>
    </message>
    <message>
        <source>--train is required</source>
        <translation>--train を指定してください</translation>
    </message>
</context>
<context>
    <name>ImportGpsCommand</name>
    <message>
        <source>Rewrites the [SpeedUnit], [Slope] and [Station] sections of CODE_line.txt from the GPS
track of the ride (GPX 1.1) and keeps the old file as CODE_line.txt.bak (when that exists, as
CODE_line.txt.bak.2, .bak.3, ...: a backup is never overwritten).
</source>
        <translation>乗車時の GPS の軌跡 (GPX 1.1) から CODE_line.txt の [SpeedUnit]、[Slope]、[Station] を
書き換え、元のファイルを CODE_line.txt.bak として残します (すでにあるときは
CODE_line.txt.bak.2、.bak.3、…: バックアップを上書きすることはありません)。
</translation>
    </message>
    <message>
        <source>bridged: a gap of %1 s before line %2 (frames %3-%4)</source>
        <translation>補間: %2 行目の前の %1 秒の途切れ (フレーム %3-%4)</translation>
    </message>
    <message>
        <source>the track&apos;s times may be in another time zone than the sync marks: shifted by %1 h the video lies within the track; if the track holds local times without a zone, give --tz %1</source>
        <translation>軌跡の時刻が同期マークと別のタイムゾーンかもしれません: %1 時間ずらすと動画が軌跡の範囲に収まります。軌跡がタイムゾーンのない現地時刻なら --tz %1 を指定してください</translation>
    </message>
    <message>
        <source>--offset takes seconds, e.g. 12.5 or -3</source>
        <translation>--offset には秒数を指定してください (例: 12.5、-3)</translation>
    </message>
    <message>
        <source>--what takes speed, slopes and stations separated by commas</source>
        <translation>--what には speed, slopes, stations をカンマで区切って指定してください</translation>
    </message>
    <message>
        <source>--what names nothing to import</source>
        <translation>--what に取り込むものが指定されていません</translation>
    </message>
    <message>
        <source>one train code and one track, please: &apos;%1&apos; is one too many</source>
        <translation>列車コードと軌跡は 1 つずつ指定してください: &apos;%1&apos; は余分です</translation>
    </message>
    <message>
        <source>give the train code and the track</source>
        <translation>列車コードと軌跡を指定してください</translation>
    </message>
    <message>
        <source>give either --offset or two --sync marks, not both</source>
        <translation>--offset か 2 つの --sync のどちらか一方を指定してください</translation>
    </message>
    <message>
        <source>give --offset S, or --sync twice (two marks)</source>
        <translation>--offset S か、--sync を 2 回 (2 つのマーク) 指定してください</translation>
    </message>
    <message>
        <source>cannot find the track &apos;%1&apos;: %2</source>
        <translation>軌跡 &apos;%1&apos; が見つかりません: %2</translation>
    </message>
    <message>
        <source>%1_line.txt does not exist in %2</source>
        <translation>%2 に %1_line.txt がありません</translation>
    </message>
    <message>
        <source>that folder holds no routes</source>
        <translation>そのフォルダーには路線がありません</translation>
    </message>
    <message>
        <source>routes there: %1</source>
        <translation>そこにある路線: %1</translation>
    </message>
    <message>
        <source>cannot open the route&apos;s video &quot;%1&quot; to learn its length; give it with --frames N</source>
        <translation>長さを調べるための路線の動画「%1」を開けません。--frames N で長さを指定してください</translation>
    </message>
</context>
<context>
    <name>InstallCommand</name>
    <message>
        <source>--offset takes a whole number of frames</source>
        <translation>--offset には整数のフレーム数を指定してください</translation>
    </message>
    <message>
        <source>Checks the package (manifest, checksums, the checker on its files) and installs it into
the data folder. --video names your copy of the route&apos;s video: it is matched against
the package&apos;s fingerprint, and where it starts and how fast it runs are written into
the route. A copy that does not match is refused; --offset FRAMES installs it anyway,
the route&apos;s frame 0 at the copy&apos;s frame FRAMES. A train code the folder has already is
refused: --code installs the route under another. --force installs although the
checker finds errors in the package&apos;s files.
</source>
        <translation>パッケージを確かめ (マニフェスト、チェックサム、ファイルのチェック)、データフォルダーに
インストールします。--video には手元にある路線の動画を指定します: パッケージの指紋と
照合し、動画の始まる位置と速さを路線に書き込みます。一致しない動画は受け付けませんが、
--offset FRAMES を付けると、路線のフレーム 0 を動画のフレーム FRAMES として
インストールします。フォルダーにすでにある列車コードは受け付けません: --code で別の
コードにしてインストールできます。--force を付けると、パッケージのファイルに
エラーがあってもインストールします。
</translation>
    </message>
    <message>
        <source>one package only</source>
        <translation>パッケージは 1 つだけ指定してください</translation>
    </message>
    <message>
        <source>which package? (FILE)</source>
        <translation>どのパッケージですか? (FILE)</translation>
    </message>
    <message>
        <source>%1 frames (%2 s)</source>
        <translation>%1 フレーム (%2 秒)</translation>
    </message>
    <message>
        <source>%1 of %2 pictures compared match (%3 %)</source>
        <translation>比べた %2 枚のうち %1 枚が一致 (%3 %)</translation>
    </message>
    <message>
        <source>; the copy&apos;s offset is %1</source>
        <translation>。動画のずれは %1</translation>
    </message>
    <message>
        <source>, and it runs at %1 times the route&apos;s speed</source>
        <translation>、速さは路線の %1 倍</translation>
    </message>
    <message>
        <source>Package: train %1, &quot;%2&quot;</source>
        <translation>パッケージ: 列車 %1、「%2」</translation>
    </message>
    <message>
        <source>, by %1</source>
        <translation>、作者 %1</translation>
    </message>
    <message>
        <source>Matching %1 against the package&apos;s video (%2 pictures of %3 frames)</source>
        <translation>%1 をパッケージの動画と照合しています (%3 フレーム中 %2 枚の画像)</translation>
    </message>
    <message>
        <source>The offset is set by hand: %1 frames</source>
        <translation>ずれを手で指定しました: %1 フレーム</translation>
    </message>
    <message>
        <source>%1 is refused: %2 (install anyway with --offset FRAMES)</source>
        <translation>%1 は受け付けられません: %2 (--offset FRAMES を付ければインストールできます)</translation>
    </message>
    <message>
        <source>Installed train %1 into %2 (%3 files)</source>
        <translation>列車 %1 を %2 にインストールしました (%3 ファイル)</translation>
    </message>
    <message>
        <source>Kept the data folder&apos;s own %1 (the package&apos;s differs)</source>
        <translation>データフォルダーの %1 はそのまま残しました (パッケージのものとは異なります)</translation>
    </message>
    <message>
        <source>No video given: the route shows %1 of the data folder; install again with --video to match your copy</source>
        <translation>動画の指定がありません: 路線はデータフォルダーの %1 を表示します。手元の動画と照合するには --video を付けてもう一度インストールしてください</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>read the data files from DIR</source>
        <translation>データファイルを DIR から読み込む</translation>
    </message>
    <message>
        <source>one JSON object a line instead of text</source>
        <translation>文章の代わりに 1 行 1 つの JSON オブジェクトで出力する</translation>
    </message>
    <message>
        <source>show this help</source>
        <translation>このヘルプを表示する</translation>
    </message>
    <message>
        <source>the train: CODE_line.txt and CODE_train.txt</source>
        <translation>列車: CODE_line.txt と CODE_train.txt</translation>
    </message>
    <message>
        <source>the timed inputs, one command a line</source>
        <translation>時刻つきの入力 (1 行に 1 コマンド)</translation>
    </message>
    <message>
        <source>where the trace goes (- for standard output)</source>
        <translation>トレースの出力先 (- は標準出力)</translation>
    </message>
    <message>
        <source>end the run at virtual time N ms</source>
        <translation>仮想時刻 N ミリ秒で運転を終える</translation>
    </message>
    <message>
        <source>the drive report at the end: HTML for .html, else JSON</source>
        <translation>終了時の運転レポート: .html なら HTML、それ以外は JSON</translation>
    </message>
    <message>
        <source>record the run (a drive script)</source>
        <translation>運転を記録する (運転スクリプトとして)</translation>
    </message>
    <message>
        <source>replay a recording of another train or of changed data files</source>
        <translation>ほかの列車の記録や、データファイルが変わった記録も再生する</translation>
    </message>
    <message>
        <source>size of the driving window</source>
        <translation>運転画面の大きさ</translation>
    </message>
    <message>
        <source>blend neighbouring frames when slower than the recording</source>
        <translation>記録より遅いときに前後のフレームを混ぜて表示する</translation>
    </message>
    <message>
        <source>open the live link on 127.0.0.1:PORT</source>
        <translation>127.0.0.1:PORT でライブリンクを開く</translation>
    </message>
    <message>
        <source>wait up to S seconds for the first live-link client (default 10)</source>
        <translation>最初のライブリンクのクライアントを最大 S 秒待つ (既定 10)</translation>
    </message>
    <message>
        <source>let live-link clients drive</source>
        <translation>ライブリンクのクライアントに運転させる</translation>
    </message>
    <message>
        <source>open the live link on every interface, with a token every client must present</source>
        <translation>すべてのインターフェースでライブリンクを開く (クライアントにはトークンが必要)</translation>
    </message>
    <message>
        <source>open DEVICE for the controller port COM1 (or COM2)</source>
        <translation>コントローラーのポート COM1 (または COM2) として DEVICE を開く</translation>
    </message>
    <message>
        <source>video frame 0 is S seconds after the track&apos;s first point (S may be negative)</source>
        <translation>動画のフレーム 0 は軌跡の最初の点の S 秒後 (S は負でもよい)</translation>
    </message>
    <message>
        <source>video frame F shows track time T (ISO 8601, or seconds after the first point);
give it twice: the two marks also measure a camera whose rate drifts</source>
        <translation>動画のフレーム F が軌跡の時刻 T にあたる (ISO 8601、または最初の点からの秒数)。
2 回指定する: 2 つのマークでカメラの速さのずれも測る</translation>
    </message>
    <message>
        <source>largest difference of the recorded speed from the track at any frame (default 1)</source>
        <translation>どのフレームでも記録速度と軌跡の差をこれ以下にする (既定 1)</translation>
    </message>
    <message>
        <source>which sections to rewrite (default speed,slopes,stations)</source>
        <translation>書き換えるセクション (既定 speed,slopes,stations)</translation>
    </message>
    <message>
        <source>the video&apos;s length, when its file cannot be opened</source>
        <translation>動画ファイルを開けないときの動画の長さ</translation>
    </message>
    <message>
        <source>the recorded speed where the train stands (default 1)</source>
        <translation>列車が停まっている所の記録速度 (既定 1)</translation>
    </message>
    <message>
        <source>heights are smoothed over M metres before gradients are taken (default 200, at least 100)</source>
        <translation>勾配を求める前に高さを M メートルにわたってならす (既定 200、最小 100)</translation>
    </message>
    <message>
        <source>bridge gaps in the track of up to S seconds (default 5); the summary names them</source>
        <translation>軌跡の S 秒までの途切れを補間する (既定 5)。補間した箇所は要約に示す</translation>
    </message>
    <message>
        <source>the track&apos;s times are H hours ahead of UTC (a track in local time without a zone)</source>
        <translation>軌跡の時刻は UTC より H 時間進んでいる (タイムゾーンのない現地時刻の軌跡)</translation>
    </message>
    <message>
        <source>stations already in the route keep their times (else where the train stood
there they take the track&apos;s)</source>
        <translation>路線にすでにある駅は時刻をそのまま残す (指定しないと、列車が
停まった駅は軌跡の時刻になる)</translation>
    </message>
    <message>
        <source>print the summary and the new sections, write nothing</source>
        <translation>要約と新しいセクションを表示するだけで、何も書き込まない</translation>
    </message>
    <message>
        <source>install into the data folder DIR</source>
        <translation>データフォルダー DIR にインストールする</translation>
    </message>
    <message>
        <source>your copy of the route&apos;s video, matched against the package&apos;s</source>
        <translation>手元にある路線の動画 (パッケージの動画と照合する)</translation>
    </message>
    <message>
        <source>install a copy that does not match: the route&apos;s frame 0 at its frame FRAMES</source>
        <translation>一致しない動画でもインストールする: 路線のフレーム 0 を動画のフレーム FRAMES とする</translation>
    </message>
    <message>
        <source>install the route under another train code</source>
        <translation>別の列車コードで路線をインストールする</translation>
    </message>
    <message>
        <source>install although the checker finds errors in the package&apos;s files</source>
        <translation>パッケージのファイルにエラーがあってもインストールする</translation>
    </message>
    <message>
        <source>drive the train CODE (CODE_line.txt, CODE_train.txt) at once;
the title screen appears when its window closes</source>
        <translation>列車 CODE (CODE_line.txt、CODE_train.txt) をすぐに運転する。
運転画面を閉じるとタイトル画面が出る</translation>
    </message>
    <message>
        <source>open DEVICE for the controller port COM1 (or COM2); repeatable</source>
        <translation>コントローラーのポート COM1 (または COM2) として DEVICE を開く。複数回指定できる</translation>
    </message>
    <message>
        <source>size of the driving window (the drive mode takes it too)</source>
        <translation>運転画面の大きさ (drive でも使える)</translation>
    </message>
    <message>
        <source>record the run of the train picked to FILE (a drive script)</source>
        <translation>選んだ列車の運転を FILE に記録する (運転スクリプトとして)</translation>
    </message>
    <message>
        <source>watch a recording in the driving window (pause, 2x, 4x, take over)</source>
        <translation>記録を運転画面で再生する (一時停止、2 倍速、4 倍速、運転の引き継ぎ)</translation>
    </message>
    <message>
        <source>open the live link on 127.0.0.1 (default port 47800): the run&apos;s state
over a WebSocket and a dashboard page at http://127.0.0.1:PORT/</source>
        <translation>127.0.0.1 でライブリンクを開く (既定のポートは 47800): 運転の状態を
WebSocket で送り、http://127.0.0.1:PORT/ にダッシュボードのページを出す</translation>
    </message>
    <message>
        <source>let live-link clients drive (send the driver&apos;s commands)</source>
        <translation>ライブリンクのクライアントに運転させる (運転操作を送れる)</translation>
    </message>
    <message>
        <source>open the live link to the network too: every interface, and every
client must present the random token the program prints</source>
        <translation>ライブリンクをネットワークにも開く: すべてのインターフェースで待ち受け、
クライアントはプログラムが表示するランダムなトークンが必要</translation>
    </message>
    <message>
        <source>show the program in Japanese or English (the desktop&apos;s language otherwise)</source>
        <translation>プログラムを日本語か英語で表示する (指定しなければデスクトップの言語)</translation>
    </message>
    <message>
        <source>show the program&apos;s version</source>
        <translation>プログラムのバージョンを表示する</translation>
    </message>
    <message>
        <source>the package&apos;s name (default CODE.trainsim-route)</source>
        <translation>パッケージのファイル名 (既定 CODE.trainsim-route)</translation>
    </message>
    <message>
        <source>put the video itself into the package too</source>
        <translation>動画そのものもパッケージに入れる</translation>
    </message>
    <message>
        <source>who made the route, for the manifest</source>
        <translation>路線の作者 (マニフェストに記す)</translation>
    </message>
    <message>
        <source>on what terms the route is shared, for the manifest</source>
        <translation>路線を配布する条件 (マニフェストに記す)</translation>
    </message>
    <message>
        <source>distance marks, a line &quot;frame,metres&quot; each (default: the route&apos;s
[DistanceMark] section, else the distances between its stations)</source>
        <translation>距離標 (1 行に「フレーム,メートル」を 1 つ。既定は路線の
[DistanceMark] セクション、なければ駅間の距離)</translation>
    </message>
    <message>
        <source>with fewer than two marks: the train runs KMH km/h at frame F</source>
        <translation>距離標が 2 つ未満のとき: フレーム F での列車の速度が KMH km/h</translation>
    </message>
    <message>
        <source>largest difference of the rows from the fitted speed (default 1)</source>
        <translation>行と当てはめた速度との差をこれ以下にする (既定 1)</translation>
    </message>
    <message>
        <source>print the summary and the new rows, write nothing</source>
        <translation>要約と新しい行を表示するだけで、何も書き込まない</translation>
    </message>
</context>
<context>
    <name>PackCommand</name>
    <message>
        <source>Writes CODE.trainsim-route (a zip): the route and train files, every file they name,
a manifest with the checksum of each, and the fingerprint of the video by which the
receiver&apos;s own copy of it is recognised and aligned. The video itself only with
--with-video.
</source>
        <translation>CODE.trainsim-route (zip 形式) を書き出します: 路線と列車のファイル、それらが参照する
すべてのファイル、各ファイルのチェックサムを記したマニフェスト、受け取った人が手元の
動画を見分けて位置を合わせるための動画の指紋です。動画そのものは --with-video を
付けたときだけ入れます。
</translation>
    </message>
    <message>
        <source>which train&apos;s route? (CODE)</source>
        <translation>どの列車の路線ですか? (CODE)</translation>
    </message>
    <message>
        <source>Packed %1 files and the fingerprint of %2 frames (%3 pictures) into %4</source>
        <translation>%1 ファイルと %2 フレーム分の指紋 (%3 枚の画像) を %4 にまとめました</translation>
    </message>
</context>
<context>
    <name>PrepareVideoCommand</name>
    <message>
        <source>which train&apos;s video? give its CODE</source>
        <translation>どの列車の動画ですか? CODE を指定してください</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 分 %2 秒</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 秒</translation>
    </message>
    <message>
        <source>%1_line.txt names no video ([Path])</source>
        <translation>%1_line.txt に動画が指定されていません ([Path])</translation>
    </message>
    <message>
        <source>%1 of %2 pictures (%3 %), about %4 left</source>
        <translation>%2 枚中 %1 枚 (%3 %)、残り約 %4</translation>
    </message>
    <message>
        <source>, %1 x real time</source>
        <translation>、実時間の %1 倍</translation>
    </message>
    <message>
        <source>%1 (%2 x %3, a keyframe every %4 pictures) made in %5</source>
        <translation>%1 (%2 x %3、%4 枚ごとにキーフレーム) を %5 で作りました</translation>
    </message>
    <message>
        <source>Makes a working copy of the video that CODE_line.txt names ([Path]): the same
frame for every position, a keyframe every 30 pictures (10 when wider than
1000 pixels), a little above the largest view size chosen in the driving
window. It is kept in the user&apos;s cache folder and used by the editor and the
driving window while the video is unchanged; the route file still names
the original, and the drive mode decodes the original.
</source>
        <translation>CODE_line.txt が指定する動画 ([Path]) の作業用コピーを作ります: どの位置でも同じ
フレームを表示し、30 枚ごと (幅 1000 ピクセルを超えるコピーは 10 枚ごと) にキーフレームを
置き、運転画面で選べる最大の表示サイズより少し大きくします。コピーはユーザーのキャッシュ
フォルダーに置かれ、動画が変わらない間はエディターと運転画面が使います。路線ファイルは
元の動画を指定したままで、drive も元の動画を読みます。
</translation>
    </message>
</context>
<context>
    <name>SpeedFromVideoCommand</name>
    <message>
        <source>Rewrites the [SpeedUnit] section of CODE_line.txt from the motion seen in the route&apos;s video,
scaled by known distances, and keeps the old file as CODE_line.txt.bak (.bak.2, ... when
that exists). The video&apos;s motion is kept beside it (VIDEO.motion) for the next run.
</source>
        <translation>路線の動画に見える動きを既知の距離で換算して CODE_line.txt の [SpeedUnit] を書き換え、
元のファイルを CODE_line.txt.bak として残します (すでにあるときは .bak.2、…)。
動画の動きは次回のために動画の隣 (VIDEO.motion) に保存します。
</translation>
    </message>
    <message>
        <source>--speed takes a frame and a speed, e.g. 1200=45</source>
        <translation>--speed にはフレームと速度を指定してください (例: 1200=45)</translation>
    </message>
    <message>
        <source>one train code, please: &apos;%1&apos; is one too many</source>
        <translation>列車コードは 1 つだけ指定してください: &apos;%1&apos; は余分です</translation>
    </message>
    <message>
        <source>give the train code</source>
        <translation>列車コードを指定してください</translation>
    </message>
    <message>
        <source>cannot read the marks file %1</source>
        <translation>距離標のファイル %1 を読めません</translation>
    </message>
    <message>
        <source>analysing the video&apos;s motion: %1 %</source>
        <translation>動画の動きを解析しています: %1 %</translation>
    </message>
    <message>
        <source>the route&apos;s video &quot;%1&quot;: %2</source>
        <translation>路線の動画「%1」: %2</translation>
    </message>
    <message>
        <source>the speed %1 km/h at frame %2</source>
        <translation>フレーム %2 での速度 %1 km/h</translation>
    </message>
    <message>
        <source>%1 marks from %2</source>
        <translation>%2 の距離標 %1 個</translation>
    </message>
</context>
</TS>
