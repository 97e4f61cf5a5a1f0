<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja" sourcelanguage="en">
<context>
    <name>DataCheck</name>
    <message>
        <source>[SignImageList] is empty: %1 and every other sign are not shown</source>
        <translation>[SignImageList] が空です: %1 もほかの標識も表示されません</translation>
    </message>
    <message>
        <source>[SignImageList] has no picture %1: %2 is not shown</source>
        <translation>[SignImageList] に画像 %1 がありません: %2 は表示されません</translation>
    </message>
    <message>
        <source>the stop sign</source>
        <translation>停止位置目標</translation>
    </message>
    <message>
        <source>the gradient sign</source>
        <translation>勾配標</translation>
    </message>
    <message>
        <source>[SignalImageList] is empty: no signal shows a picture in the cab</source>
        <translation>[SignalImageList] が空です: 運転台にはどの信号の画像も表示されません</translation>
    </message>
    <message>
        <source>[SignalImageList] has %1 pictures; aspect set %2 needs pictures up to %3</source>
        <translation>[SignalImageList] の画像は %1 枚ですが、現示の組 %2 には %3 番までの画像が必要です</translation>
    </message>
    <message>
        <source>the warnings about this file are given once its errors are mended</source>
        <translation>このファイルの警告は、エラーを直してから表示します</translation>
    </message>
    <message>
        <source>no video is named ([Path]): the driver&apos;s view stays blank</source>
        <translation>動画が指定されていません ([Path]): 前面展望は何も映りません</translation>
    </message>
    <message>
        <source>the video &quot;%1&quot; cannot be opened: the driver&apos;s view stays blank</source>
        <translation>動画「%1」を開けません: 前面展望は何も映りません</translation>
    </message>
    <message>
        <source>the video &quot;%1&quot; opens but yields no usable frame: the driver&apos;s view stays black</source>
        <translation>動画「%1」は開けますが、使えるフレームがありません: 前面展望は黒いままです</translation>
    </message>
    <message>
        <source>the video is recorded at %1 pictures per second; it is shown as %2 frames per second of recording, and every position counts those frames</source>
        <translation>動画は毎秒 %1 コマで記録されています。撮影時間 1 秒あたり %2 フレームとして表示し、位置はすべてこのフレームで数えます</translation>
    </message>
    <message>
        <source>this copy of the video starts %1 frames after the route&apos;s frame 0: the view stays blank until then</source>
        <translation>この動画は路線のフレーム 0 より %1 フレーム後から始まります: それまで前面展望は何も映りません</translation>
    </message>
    <message>
        <source>position %1 is beyond the video&apos;s last frame %2</source>
        <translation>位置 %1 は動画の最終フレーム %2 より先です</translation>
    </message>
    <message>
        <source>position %1 is beyond the end of the line at %2: the run closes before the train gets there</source>
        <translation>位置 %1 は終点 %2 より先です: 列車がそこに着く前に運転が終わります</translation>
    </message>
    <message>
        <source>the start is beyond the video&apos;s last frame %1</source>
        <translation>開始位置が動画の最終フレーム %1 より先です</translation>
    </message>
    <message>
        <source>the start is beyond the end of the line at %1</source>
        <translation>開始位置が終点 %1 より先です</translation>
    </message>
    <message>
        <source>the end of the line %1 is not after [StartPos] %2: the run closes as soon as the train moves</source>
        <translation>終点 %1 が [StartPos] %2 より後ろにありません: 列車が動き出すとすぐに運転が終わります</translation>
    </message>
    <message>
        <source>the end of the line %1 is beyond the video&apos;s last frame %2: the view stands still before the run ends</source>
        <translation>終点 %1 は動画の最終フレーム %2 より先です: 運転が終わる前に前面展望が止まります</translation>
    </message>
    <message>
        <source>sound %1 is not in [SoundData] (%2 entries, from 0): it stays silent</source>
        <translation>音 %1 は [SoundData] にありません (0 から数えて %2 件): 鳴りません</translation>
    </message>
    <message>
        <source>stopFrom %1 is after stopTo %2: the train can never stand inside this stop range</source>
        <translation>stopFrom %1 が stopTo %2 より後ろです: 列車がこの停車範囲に停まることはできません</translation>
    </message>
    <message>
        <source>this station lies before the previous one: stations must be in route order</source>
        <translation>この駅は一つ前の駅より手前にあります: 駅は路線の順に並べてください</translation>
    </message>
    <message>
        <source>the first station&apos;s stop range %1 to %2 does not contain [StartPos] %3: the run starts away from its platform</source>
        <translation>最初の駅の停車範囲 %1〜%2 に [StartPos] %3 が入っていません: ホームから離れた所で運転が始まります</translation>
    </message>
    <message>
        <source>the doors close at %1, before the departure time %2: the departure sound never plays (make closeTime later than departureTime)</source>
        <translation>戸閉め時刻 %1 が発車時刻 %2 より前です: 発車の音が鳴りません (closeTime を departureTime より後にしてください)</translation>
    </message>
    <message>
        <source>the stop range is only %1 m long at the recorded speed: a good stop is judged to have run through (make it a few metres)</source>
        <translation>停車範囲は記録速度で %1 m しかありません: うまく停まっても行き過ぎと判定されます (数 m にしてください)</translation>
    </message>
    <message>
        <source>the departure time is before [StartTime] %1</source>
        <translation>発車時刻が [StartTime] %1 より前です</translation>
    </message>
    <message>
        <source>the door closing time is before [StartTime] %1</source>
        <translation>戸閉め時刻が [StartTime] %1 より前です</translation>
    </message>
    <message>
        <source>the departure time is earlier than the previous stop&apos;s: times must follow the route order</source>
        <translation>発車時刻が一つ前の停車駅より早くなっています: 時刻は路線の順に並べてください</translation>
    </message>
    <message>
        <source>the door closing time is earlier than the previous stop&apos;s: times must follow the route order</source>
        <translation>戸閉め時刻が一つ前の停車駅より早くなっています: 時刻は路線の順に並べてください</translation>
    </message>
    <message>
        <source>signal rows must be in position order: this one starts before the previous one</source>
        <translation>信号の行は位置の順に並べてください: この行は一つ前の行より手前から始まっています</translation>
    </message>
    <message>
        <source>no [Signal] label reads &quot;%1&quot;: this call-out can never play</source>
        <translation>[Signal] に「%1」という名前の信号がありません: この喚呼は鳴ることがありません</translation>
    </message>
    <message>
        <source>a train keeping to the recorded speed and the station times meets this signal at stop, the preceding train being in its blocks: [Pre_Time] %1 or more shows it clear</source>
        <translation>記録速度と駅の時刻どおりに走る列車は、先行列車が閉そく区間にいるため、この信号を停止現示で迎えます: [Pre_Time] を %1 以上にすると進行現示になります</translation>
    </message>
    <message>
        <source>a train keeping to the recorded speed and the station times meets this signal at a restricting aspect, the preceding train being in its blocks: [Pre_Time] %1 or more shows it clear</source>
        <translation>記録速度と駅の時刻どおりに走る列車は、先行列車が閉そく区間にいるため、この信号を注意・警戒などの現示で迎えます: [Pre_Time] を %1 以上にすると進行現示になります</translation>
    </message>
    <message>
        <source>a gradient of %1 per mille is steeper than any adhesion railway: a measuring error?</source>
        <translation>勾配 %1‰ は粘着式の鉄道ではありえない急勾配です: 測定の誤りではありませんか</translation>
    </message>
    <message>
        <source>a gradient of %1 per mille is steeper than main lines are built (40 per mille)</source>
        <translation>勾配 %1‰ は本線の基準 (40‰) より急です</translation>
    </message>
    <message>
        <source>image %1 is not in [OtherImageList] (%2 pictures, from 0): nothing is shown</source>
        <translation>画像 %1 は [OtherImageList] にありません (0 から数えて %2 枚): 何も表示されません</translation>
    </message>
    <message>
        <source>there is no sign picture for %1 km/h: limits with a sign are 15, 20, ... 120</source>
        <translation>%1 km/h の標識画像はありません: 標識のある制限速度は 15, 20, … 120 です</translation>
    </message>
    <message>
        <source>[SignImageList] has no picture %1 for %2 km/h</source>
        <translation>[SignImageList] に %2 km/h 用の画像 %1 がありません</translation>
    </message>
    <message>
        <source>fromFrame equals toFrame: the row covers no frame</source>
        <translation>fromFrame と toFrame が同じです: この行はどのフレームも受け持ちません</translation>
    </message>
    <message>
        <source>this row overlaps the previous one, which runs to %1</source>
        <translation>この行は %1 まで続く一つ前の行と重なっています</translation>
    </message>
    <message>
        <source>frames %1 to %2 are covered by no row</source>
        <translation>フレーム %1〜%2 を受け持つ行がありません</translation>
    </message>
    <message>
        <source>a recorded speed of 0 outside a stop: the train cannot move past this point</source>
        <translation>停車範囲の外で記録速度が 0 です: 列車はここから先へ進めません</translation>
    </message>
    <message>
        <source>the route has no [SpeedUnit] rows: the train&apos;s position cannot advance</source>
        <translation>路線に [SpeedUnit] の行がありません: 列車の位置が進みません</translation>
    </message>
    <message>
        <source>[StartPos] %1 lies before the first row</source>
        <translation>[StartPos] %1 が最初の行より手前です</translation>
    </message>
    <message>
        <source>the route uses frames up to %1 but the last row ends at %2</source>
        <translation>路線はフレーム %1 まで使いますが、最後の行は %2 で終わっています</translation>
    </message>
    <message>
        <source>the frame is not after the previous mark&apos;s %1: marks out of order</source>
        <translation>フレームが一つ前の距離標の %1 より後ろにありません: 距離標の順序が違います</translation>
    </message>
    <message>
        <source>the place is not beyond the previous mark&apos;s %1 m: a negative or no distance</source>
        <translation>位置が一つ前の距離標の %1 m より先にありません: 距離が負か 0 です</translation>
    </message>
    <message>
        <source>the video has %1 frames but the route uses frames up to %2</source>
        <translation>動画は %1 フレームですが、路線はフレーム %2 まで使います</translation>
    </message>
    <message>
        <source>the wave &quot;%1&quot; cannot be read: its sound stays silent</source>
        <translation>WAVE ファイル「%1」を読めません: その音は鳴りません</translation>
    </message>
    <message>
        <source>a notched brake ([BrakeType] %1) needs at least %2 brake positions, but [Brake] gives %3</source>
        <translation>段ブレーキ ([BrakeType] %1) には %2 段以上のブレーキ段数が必要ですが、[Brake] は %3 段です</translation>
    </message>
    <message>
        <source>the train&apos;s %1 drive sounds, the route&apos;s %2 [SoundData] sounds, %3 call-outs and %4 [OtherImageList] sounds need more than the 100 channels below the motor sounds</source>
        <translation>車両の走行音 %1 個、路線の [SoundData] の音 %2 個、喚呼 %3 個、[OtherImageList] の音 %4 個で、モーター音より下の 100 チャンネルを超えてしまいます</translation>
    </message>
</context>
<context>
    <name>DataFiles</name>
    <message>
        <source>the picture &quot;%1&quot; cannot be loaded: the file is missing or not a picture</source>
        <translation>画像「%1」を読み込めません: ファイルがないか、画像ではありません</translation>
    </message>
    <message>
        <source>the time in seconds is too large: times of day stay below %1 s</source>
        <translation>秒数が大きすぎます: 時刻は %1 秒未満です</translation>
    </message>
    <message>
        <source>the end of the line must not be negative nor before [StartPos] (%1)</source>
        <translation>終点は負の値にも [StartPos] (%1) より手前にもできません</translation>
    </message>
    <message>
        <source>only the first %1 stations may be stops (kind 0 or 2); later ones must be kind 1</source>
        <translation>停車駅 (種別 0 か 2) にできるのは最初の %1 駅までです。それ以降は種別 1 にしてください</translation>
    </message>
    <message>
        <source>the value is not accepted here</source>
        <translation>ここではこの値は使えません</translation>
    </message>
    <message>
        <source>the line is empty where a whole number is expected</source>
        <translation>整数が入るはずの行が空です</translation>
    </message>
    <message>
        <source>the line is empty where a number is expected</source>
        <translation>数値が入るはずの行が空です</translation>
    </message>
    <message>
        <source>%1 is beyond %2 (either way), the largest whole number a data file may hold</source>
        <translation>%1 は ±%2 を超えています (データファイルで使える整数の上限です)</translation>
    </message>
    <message>
        <source>%1 is not a whole number: write a decimal integer such as 120 (a sign and leading blanks are accepted; a decimal point or anything after the number is not)</source>
        <translation>%1 は整数ではありません: 120 のような 10 進の整数を書いてください (符号と先頭の空白は使えますが、小数点や数字の後の文字は使えません)</translation>
    </message>
    <message>
        <source>%1 is not a number: write a decimal number with &quot;.&quot; as the decimal point, such as 2.5</source>
        <translation>%1 は数値ではありません: 2.5 のように「.」を小数点とする 10 進数を書いてください</translation>
    </message>
    <message>
        <source>a real number beyond ±1000000000 has no meaning in a data file</source>
        <translation>±1000000000 を超える実数はデータファイルでは意味を持ちません</translation>
    </message>
    <message>
        <source>the row has 1 field but field %2 is needed (fields are separated by commas)</source>
        <translation>この行の項目は 1 つですが、%2 番目の項目が必要です (項目はカンマで区切ります)</translation>
    </message>
    <message>
        <source>the row has %1 fields but field %2 is needed (fields are separated by commas)</source>
        <translation>この行の項目は %1 個ですが、%2 番目の項目が必要です (項目はカンマで区切ります)</translation>
    </message>
    <message>
        <source>the file cannot be opened: %1</source>
        <translation>ファイルを開けません: %1</translation>
    </message>
    <message>
        <source>the file ends inside the list: a line beginning with &quot;#&quot; must end it</source>
        <translation>リストの途中でファイルが終わっています: リストは「#」で始まる行で終えてください</translation>
    </message>
    <message>
        <source>the list has more than %1 entries, the most it can hold</source>
        <translation>リストの項目が上限の %1 個を超えています</translation>
    </message>
    <message>
        <source>the three speeds of a gear must differ: lowSpeed, midSpeed and highSpeed</source>
        <translation>ギアの 3 つの速度 lowSpeed, midSpeed, highSpeed はそれぞれ違う値にしてください</translation>
    </message>
    <message>
        <source>[Notch] is for electric trains, but [Engine_Type] is 0 (diesel) or stands after [Notch]: set [Engine_Type] to 1 before [Notch], or use [Engine]</source>
        <translation>[Notch] は電車用ですが、[Engine_Type] が 0 (気動車) か [Notch] より後ろにあります: [Notch] より前で [Engine_Type] を 1 にするか、[Engine] を使ってください</translation>
    </message>
    <message>
        <source>[Notch] has %1 rows but [Power] is %2 (or stands after [Notch]): there must be one row per power notch</source>
        <translation>[Notch] は %1 行ですが [Power] は %2 です (または [Notch] より後ろにあります): 力行ノッチ 1 段につき 1 行が必要です</translation>
    </message>
    <message>
        <source>it can be read</source>
        <translation>読み込めます</translation>
    </message>
    <message>
        <source>it is missing or unreadable</source>
        <translation>ファイルがないか、読み込めません</translation>
    </message>
    <message>
        <source>it is not a regular file (a folder, pipe, socket or device)</source>
        <translation>通常のファイルではありません (フォルダー、パイプ、ソケット、デバイスのいずれかです)</translation>
    </message>
    <message>
        <source>it is larger than %1 MB, far beyond any real data file</source>
        <translation>%1 MB を超えていて、データファイルとしては大きすぎます</translation>
    </message>
</context>
<context>
    <name>Diagnostics</name>
    <message>
        <source>row %1</source>
        <translation>%1 行目</translation>
    </message>
    <message>
        <source>field %1</source>
        <translation>%1 番目の項目</translation>
    </message>
</context>
<context>
    <name>DriveReport</name>
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
        <translation>列車の最高速度</translation>
    </message>
    <message>
        <source>train protection alarm</source>
        <translation>ATS の警報</translation>
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
        <source>ran through %1 without stopping</source>
        <translation>%1を通過 (停車せず)</translation>
    </message>
    <message>
        <source>stopped outside the platform at %1</source>
        <translation>%1でホームの外に停車</translation>
    </message>
    <message>
        <source>stopped %1 m from the mark at %2</source>
        <translation>%2で停止位置から %1 m ずれて停車</translation>
    </message>
    <message>
        <source>left %1 s early from %2</source>
        <translation>%2を %1 秒早く発車</translation>
    </message>
    <message>
        <source>left %1 s late from %2</source>
        <translation>%2を %1 秒遅れて発車</translation>
    </message>
    <message>
        <source>%1 km/h over the %2 of %3 km/h</source>
        <translation>%2 %3 km/h を %1 km/h 超過</translation>
    </message>
    <message>
        <source>train protection alarm not confirmed</source>
        <translation>ATS の警報を確認せず</translation>
    </message>
    <message>
        <source>passed signal %1 at stop</source>
        <translation>停止現示の信号 %1 を冒進</translation>
    </message>
    <message>
        <source>braked hard (%1 m/s²)</source>
        <translation>急ブレーキ (%1 m/s²)</translation>
    </message>
    <message>
        <source>jerky handling (%1 m/s³)</source>
        <translation>乱暴な操作 (%1 m/s³)</translation>
    </message>
    <message>
        <source>No verdict: the run reached no stop.</source>
        <translation>評価なし: 停車駅まで走っていません。</translation>
    </message>
    <message>
        <source>Excellent driving</source>
        <translation>たいへん良い運転</translation>
    </message>
    <message>
        <source>Good driving</source>
        <translation>良い運転</translation>
    </message>
    <message>
        <source>Fair driving</source>
        <translation>まずまずの運転</translation>
    </message>
    <message>
        <source>Poor driving</source>
        <translation>改善が必要な運転</translation>
    </message>
    <message>
        <source>%1: most points lost for %2.</source>
        <translation>%1です。いちばん大きな減点: %2。</translation>
    </message>
    <message>
        <source>%1.</source>
        <translation>%1です。</translation>
    </message>
    <message>
        <source> The score covers the part driven: %1 of %2 stops, %3 not reached.</source>
        <translation> 点数は走った区間のものです: 停車駅 %2 のうち %1、%3 駅は未到達。</translation>
    </message>
</context>
<context>
    <name>GpsImport</name>
    <message>
        <source>the two --sync marks name the same frame</source>
        <translation>2 つの --sync マークが同じフレームを指しています</translation>
    </message>
    <message>
        <source>the two --sync marks run backwards: the later frame has the earlier time</source>
        <translation>2 つの --sync マークが逆向きです: 後のフレームのほうが時刻が早くなっています</translation>
    </message>
    <message>
        <source>the track has no heights (&lt;ele&gt;), so it gives no gradients; leave out slopes (--what speed,stations)</source>
        <translation>軌跡に高さ (&lt;ele&gt;) がないので勾配を求められません。slopes を外してください (--what speed,stations)</translation>
    </message>
    <message>
        <source>the station name &quot;%1&quot; has characters the route file&apos;s Shift-JIS cannot hold</source>
        <translation>駅名「%1」には路線ファイルの Shift-JIS で表せない文字が含まれています</translation>
    </message>
    <message>
        <source>cannot read the route file %1</source>
        <translation>路線ファイル %1 を読めません</translation>
    </message>
    <message>
        <source>the video has fewer than two frames</source>
        <translation>動画のフレームが 2 つ未満です</translation>
    </message>
    <message>
        <source>the track gives more stations than a route holds (100 stops, 501 rows)</source>
        <translation>軌跡から得た駅が路線に入る数 (停車駅 100、501 行) を超えています</translation>
    </message>
    <message>
        <source>the rewritten route file does not read back; nothing was written</source>
        <translation>書き換えた路線ファイルを読み直せません。何も書き込んでいません</translation>
    </message>
    <message>
        <source>the rewritten route file reads back differently; nothing was written</source>
        <translation>書き換えた路線ファイルを読み直すと内容が違います。何も書き込んでいません</translation>
    </message>
    <message>
        <source>there are %1 backups of %2 already</source>
        <translation>%2 のバックアップがすでに %1 個あります</translation>
    </message>
    <message>
        <source>cannot write the backup: %1</source>
        <translation>バックアップを書き込めません: %1</translation>
    </message>
    <message>
        <source>a track point has no &lt;time&gt;; the speed cannot be known without times</source>
        <translation>軌跡の点に &lt;time&gt; がありません。時刻がないと速度がわかりません</translation>
    </message>
    <message>
        <source>the track&apos;s time goes backwards here (%1 earlier than the point before)</source>
        <translation>ここで軌跡の時刻が戻っています (一つ前の点より %1 前)</translation>
    </message>
    <message>
        <source>the file holds no track points (&lt;trkpt&gt; in &lt;trk&gt;/&lt;trkseg&gt;)</source>
        <translation>ファイルに軌跡の点 (&lt;trk&gt;/&lt;trkseg&gt; の中の &lt;trkpt&gt;) がありません</translation>
    </message>
    <message>
        <source>the track has a single point; a ride needs many</source>
        <translation>軌跡の点が 1 つしかありません。乗車の記録には多くの点が必要です</translation>
    </message>
    <message>
        <source>the track is shorter than the video: frame 0 shows the ride %1 before the track&apos;s first point</source>
        <translation>軌跡が動画より短くなっています: フレーム 0 は軌跡の最初の点より %1 前の乗車を映しています</translation>
    </message>
    <message>
        <source>the track has a gap of %1 before this point (at most %2 can be bridged)</source>
        <translation>この点の前で軌跡が %1 途切れています (補間できるのは %2 まで)</translation>
    </message>
    <message>
        <source>only %1 of the track&apos;s %2 fixes are usable: the others jump further than a train can run from it</source>
        <translation>軌跡の %2 点のうち使えるのは %1 点だけです: ほかの点は列車が走れる以上に飛んでいます</translation>
    </message>
    <message>
        <source>a waypoint near the track has no &lt;name&gt;</source>
        <translation>軌跡の近くのウェイポイントに &lt;name&gt; がありません</translation>
    </message>
    <message>
        <source>the waypoint&apos;s name &quot;%1&quot; has a comma, which a [Station] row cannot hold</source>
        <translation>ウェイポイントの名前「%1」にカンマが含まれています。[Station] の行にはカンマを入れられません</translation>
    </message>
    <message>
        <source>ride: %1 km in %2 s (%3 frames), %4 fixes, %5 dropped as jitter</source>
        <translation>乗車: %1 km、%2 秒 (%3 フレーム)、測位 %4 点 (うち %5 点はぶれとして除外)</translation>
    </message>
    <message>
        <source>distance the video covers: %1 km</source>
        <translation>動画に映る距離: %1 km</translation>
    </message>
    <message>
        <source>[SpeedUnit]: %1 rows, largest error %2 km/h</source>
        <translation>[SpeedUnit]: %1 行、最大誤差 %2 km/h</translation>
    </message>
    <message>
        <source> (tolerance raised to %1 km/h: 501 rows did not suffice at %2)</source>
        <translation> (許容差を %1 km/h に広げました: %2 では 501 行に収まりません)</translation>
    </message>
    <message>
        <source> (tolerance %1 km/h)</source>
        <translation> (許容差 %1 km/h)</translation>
    </message>
    <message>
        <source>[Slope]: %1 rows</source>
        <translation>[Slope]: %1 行</translation>
    </message>
    <message>
        <source>[Station]: %1 rows</source>
        <translation>[Station]: %1 行</translation>
    </message>
    <message>
        <source>%1: frames %2-%3, kind %4, next stop %5 m</source>
        <translation>%1: フレーム %2-%3、種別 %4、次の停車駅まで %5 m</translation>
    </message>
    <message>
        <source>note: %1</source>
        <translation>注記: %1</translation>
    </message>
    <message>
        <source>the speed is taken from the receiver&apos;s own speeds (&lt;speed&gt;)</source>
        <translation>速度は受信機自身の速度 (&lt;speed&gt;) から取りました</translation>
    </message>
    <message>
        <source>frames %1-%2 (%3 +/- %4 per mille)</source>
        <translation>フレーム %1-%2 (%3 ± %4 ‰)</translation>
    </message>
    <message>
        <source>gradient tolerance raised to %1 per mille: more than 501 [Slope] rows at the one asked for</source>
        <translation>勾配の許容差を %1 ‰ に上げました: 指定の許容差では [Slope] が 501 行を超えるためです</translation>
    </message>
    <message>
        <source> and %1 more</source>
        <translation> ほか %1 区間</translation>
    </message>
    <message>
        <source>the heights vary by %1 m about their course: %2 section(s) left level, their gradient being within its own error or steeper than %3 per mille: %4</source>
        <translation>高さは実際の経路の前後に %1 m ばらついています: 勾配が誤差の範囲内か %3 ‰ より急な %2 区間を水平のままにしました: %4</translation>
    </message>
    <message>
        <source>[StartPos] %1 lies outside the first stop &quot;%2&quot; (frames %3-%4)</source>
        <translation>[StartPos] %1 は最初の停車駅「%2」(フレーム %3-%4) の外にあります</translation>
    </message>
    <message>
        <source>waypoint &quot;%1&quot; (line %2) is %3 m from the track: not a station of it</source>
        <translation>ウェイポイント「%1」(%2 行目) はトラックから %3 m 離れています: この路線の駅ではありません</translation>
    </message>
    <message>
        <source>waypoint &quot;%1&quot; (line %2) is passed outside the video: not a station of it</source>
        <translation>ウェイポイント「%1」(%2 行目) は動画の範囲外で通過します: この路線の駅ではありません</translation>
    </message>
    <message>
        <source>station &quot;%1&quot; takes the track&apos;s times (departure %2, doors closed %3)</source>
        <translation>駅「%1」はトラックの時刻を使います (発車 %2、戸閉め %3)</translation>
    </message>
    <message>
        <source>station &quot;%1&quot; has no waypoint in the track: kept where it was</source>
        <translation>駅「%1」にはトラックのウェイポイントがありません: 元の位置のままにしました</translation>
    </message>
</context>
<context>
    <name>Packages</name>
    <message>
        <source>%1: cannot be read</source>
        <translation>%1: 読めません</translation>
    </message>
    <message>
        <source>%1: changed while it was packed</source>
        <translation>%1: まとめている間にファイルが変わりました</translation>
    </message>
    <message>
        <source>an entry without a name</source>
        <translation>名前のない項目があります</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is an absolute path</source>
        <translation>「%1」は絶対パスです</translation>
    </message>
    <message>
        <source>&quot;%1&quot; leads out of its folder (..)</source>
        <translation>「%1」はフォルダーの外を指しています (..)</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds a control character</source>
        <translation>「%1」に制御文字が含まれています</translation>
    </message>
    <message>
        <source>&quot;%1&quot; names no file</source>
        <translation>「%1」はファイルを指していません</translation>
    </message>
    <message>
        <source>the package cannot be read: %1</source>
        <translation>パッケージを読めません: %1</translation>
    </message>
    <message>
        <source>the package is damaged: %1</source>
        <translation>パッケージが壊れています: %1</translation>
    </message>
    <message>
        <source>the package holds more than %1 entries</source>
        <translation>パッケージの項目が %1 個を超えています</translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation>受け付けません: %1</translation>
    </message>
    <message>
        <source>refused: &quot;%1&quot; is a link</source>
        <translation>受け付けません:「%1」はリンクです</translation>
    </message>
    <message>
        <source>refused: &quot;%1&quot; is not a plain file (a device, a pipe or a socket)</source>
        <translation>受け付けません:「%1」は通常のファイルではありません (デバイス、パイプ、ソケットのいずれかです)</translation>
    </message>
    <message>
        <source>refused: &quot;%1&quot; differs only in letter case from another entry, or repeats one</source>
        <translation>受け付けません:「%1」はほかの項目と大文字・小文字が違うだけか、重複しています</translation>
    </message>
    <message>
        <source>refused: &quot;%1&quot; is larger than %2 bytes</source>
        <translation>受け付けません:「%1」は %2 バイトを超えています</translation>
    </message>
    <message>
        <source>refused: &quot;%1&quot; takes the package over the free space (%2 bytes)</source>
        <translation>受け付けません:「%1」でパッケージが空き容量 (%2 バイト) を超えます</translation>
    </message>
    <message>
        <source>the package is damaged at &quot;%1&quot;: %2</source>
        <translation>パッケージの「%1」が壊れています: %2</translation>
    </message>
    <message>
        <source>refused: &quot;%1&quot; unpacks to far more than its packed size (a zip bomb)</source>
        <translation>受け付けません:「%1」は展開すると圧縮時よりはるかに大きくなります (zip 爆弾)</translation>
    </message>
    <message>
        <source>the package is damaged: &quot;%1&quot; is shorter than its entry says</source>
        <translation>パッケージが壊れています:「%1」が項目に記された大きさより短くなっています</translation>
    </message>
    <message>
        <source>the manifest is not readable: %1</source>
        <translation>マニフェストを読めません: %1</translation>
    </message>
    <message>
        <source>the package&apos;s format %1 is not one this program reads (up to %2)</source>
        <translation>パッケージの形式 %1 はこのプログラムでは読めません (%2 まで対応)</translation>
    </message>
    <message>
        <source>the manifest names no train code</source>
        <translation>マニフェストに列車コードがありません</translation>
    </message>
    <message>
        <source>the manifest&apos;s file list is damaged</source>
        <translation>マニフェストのファイル一覧が壊れています</translation>
    </message>
    <message>
        <source>refused: &quot;%1&quot; cannot be unpacked (a file and a folder of that name?)</source>
        <translation>受け付けません:「%1」を展開できません (同じ名前のファイルとフォルダーがありませんか)</translation>
    </message>
    <message>
        <source>the package cannot be unpacked: the disk is full or the folder not writable</source>
        <translation>パッケージを展開できません: ディスクがいっぱいか、フォルダーに書き込めません</translation>
    </message>
    <message>
        <source>the package cannot be unpacked: the disk is full</source>
        <translation>パッケージを展開できません: ディスクがいっぱいです</translation>
    </message>
    <message>
        <source>%1: there is no such folder</source>
        <translation>%1: そのようなフォルダーはありません</translation>
    </message>
    <message>
        <source>%1: no temporary folder can be made there</source>
        <translation>%1: そこに一時フォルダーを作れません</translation>
    </message>
    <message>
        <source>the package has no manifest (%1): it is not a route package</source>
        <translation>パッケージにマニフェスト (%1) がありません: 路線パッケージではありません</translation>
    </message>
    <message>
        <source>the package&apos;s train code &quot;%1&quot; cannot be a file name</source>
        <translation>パッケージの列車コード「%1」はファイル名にできません</translation>
    </message>
    <message>
        <source>the package is damaged: &quot;%1&quot;, listed in its manifest, is missing</source>
        <translation>パッケージが壊れています: マニフェストにある「%1」が見つかりません</translation>
    </message>
    <message>
        <source>the package is damaged or altered: &quot;%1&quot; does not match its checksum</source>
        <translation>パッケージが壊れているか、書き換えられています:「%1」がチェックサムと一致しません</translation>
    </message>
    <message>
        <source>refused: &quot;%1&quot; is not listed in the package&apos;s manifest</source>
        <translation>受け付けません:「%1」はパッケージのマニフェストにありません</translation>
    </message>
    <message>
        <source>the package&apos;s video fingerprint (%1) is missing or damaged</source>
        <translation>パッケージの動画の指紋 (%1) がないか、壊れています</translation>
    </message>
    <message>
        <source>the package lacks the route file or the train file of %1</source>
        <translation>パッケージに %1 の路線ファイルか列車ファイルがありません</translation>
    </message>
    <message>
        <source>the checker finds %1 error(s) in the package&apos;s files: %2</source>
        <translation>パッケージのファイルにエラーが %1 件あります: %2</translation>
    </message>
    <message>
        <source>%1: the video cannot be read</source>
        <translation>%1: 動画を読めません</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be a train code</source>
        <translation>「%1」は列車コードにできません</translation>
    </message>
    <message>
        <source>the data folder has a route of train code %1 already; it is kept: install this one under another code (such as %2)</source>
        <translation>データフォルダーには列車コード %1 の路線がすでにあり、そのまま残します: このパッケージは別のコード (たとえば %2) でインストールしてください</translation>
    </message>
    <message>
        <source>the data folder&apos;s &quot;%1&quot; differs from the package&apos;s (%2 file(s) in all); it is kept: install under another code (such as %3), whose files are kept apart</source>
        <translation>データフォルダーの「%1」はパッケージのものと異なります (全部で %2 ファイル)。そのまま残します: 別のコード (たとえば %3) でインストールすると、ファイルは別に置かれます</translation>
    </message>
    <message>
        <source>the package&apos;s files cannot be rewritten in the temporary folder</source>
        <translation>パッケージのファイルを一時フォルダーで書き換えられません</translation>
    </message>
    <message>
        <source>the package relies on the default %1, and neither the data folder nor an installed demo has one</source>
        <translation>パッケージは既定の %1 を使いますが、データフォルダーにもインストール済みのデモにもありません</translation>
    </message>
    <message>
        <source>%1: the folder cannot be made</source>
        <translation>%1: フォルダーを作れません</translation>
    </message>
    <message>
        <source>%1: cannot be put in place (it exists, or the folder is not writable)</source>
        <translation>%1: 置けません (すでにあるか、フォルダーに書き込めません)</translation>
    </message>
    <message>
        <source>%1_line.txt: there is no such route file in the data folder</source>
        <translation>%1_line.txt: データフォルダーにその路線ファイルはありません</translation>
    </message>
    <message>
        <source>%1: the route needs it, and it is not in the data folder</source>
        <translation>%1: 路線が使うファイルですが、データフォルダーにありません</translation>
    </message>
    <message>
        <source>%1_line.txt names no video ([Path]): there is nothing to fingerprint</source>
        <translation>%1_line.txt に動画が指定されていません ([Path]): 指紋を作るものがありません</translation>
    </message>
    <message>
        <source>the pictures match the package&apos;s video nowhere</source>
        <translation>画像がパッケージの動画のどこにも一致しません</translation>
    </message>
    <message>
        <source>only %1 of it matches: is this a shorter cut?</source>
        <translation>一致するのは %1 だけです: 短く編集された動画ではありませんか</translation>
    </message>
</context>
<context>
    <name>SpeedFromVideo</name>
    <message>
        <source>line %1: &quot;%2&quot; is not a mark (frame,metres)</source>
        <translation>%1 行目:「%2」は距離標 (フレーム,メートル) ではありません</translation>
    </message>
    <message>
        <source>the video cannot be read</source>
        <translation>動画を読めません</translation>
    </message>
    <message>
        <source>the video cannot be decoded</source>
        <translation>動画をデコードできません</translation>
    </message>
    <message>
        <source>the video shows no motion: no speed can be taken from it</source>
        <translation>動画に動きがありません: 速度を求められません</translation>
    </message>
    <message>
        <source>the known speed&apos;s frame %1 lies outside the video</source>
        <translation>既知の速度のフレーム %1 は動画の範囲外です</translation>
    </message>
    <message>
        <source>the known speed at frame %1 must be above 0 and at most 400 km/h</source>
        <translation>フレーム %1 での既知の速度は 0 より大きく 400 km/h 以下にしてください</translation>
    </message>
    <message>
        <source>the known speed at frame %1 lies on a standstill: the picture does not move there</source>
        <translation>フレーム %1 での既知の速度が停車中の位置にあります: そこでは画面が動いていません</translation>
    </message>
    <message>
        <source>give at least two distance marks, or a known speed at one frame</source>
        <translation>距離標を 2 つ以上か、どこか 1 フレームでの既知の速度を指定してください</translation>
    </message>
</context>
<context>
    <name>SpeedSummary</name>
    <message>
        <source>video: %1, %2 frames (motion from the cache)</source>
        <translation>動画: %1、%2 フレーム (動きはキャッシュから)</translation>
    </message>
    <message>
        <source>video: %1, %2 frames (motion analysed)</source>
        <translation>動画: %1、%2 フレーム (動きを解析しました)</translation>
    </message>
    <message>
        <source>stops found: %1</source>
        <translation>見つかった停車: %1</translation>
    </message>
    <message>
        <source>  frames %1-%2 (%3 s)</source>
        <translation>  フレーム %1-%2 (%3 秒)</translation>
    </message>
    <message>
        <source>scaled by %1</source>
        <translation>縮尺の根拠: %1</translation>
    </message>
    <message>
        <source>  marks %1-%2 (frames %3-%4): marked %5 m, one scale gives %6 m (%7 %)</source>
        <translation>  距離標 %1-%2 (フレーム %3-%4): 距離標では %5 m、一つの縮尺では %6 m (%7 %)</translation>
    </message>
    <message>
        <source>estimated error of the speed&apos;s shape between marks: %1 %</source>
        <translation>距離標の間の速度の形の推定誤差: %1 %</translation>
    </message>
    <message>
        <source>one pair of marks: the error of the speed&apos;s shape cannot be estimated</source>
        <translation>距離標が一組だけのため、速度の形の誤差は推定できません</translation>
    </message>
    <message>
        <source>distance the video covers: %1 km, top speed %2 km/h</source>
        <translation>動画の走行距離: %1 km、最高速度 %2 km/h</translation>
    </message>
    <message>
        <source>[SpeedUnit]: %1 rows, largest error %2 km/h (tolerance %3 km/h)</source>
        <translation>[SpeedUnit]: %1 行、最大誤差 %2 km/h (許容差 %3 km/h)</translation>
    </message>
    <message>
        <source>the flow&apos;s size raised to the power %1, under which the marks agree best</source>
        <translation>流れの大きさを %1 乗で補正 (距離標が最もよく合う指数)</translation>
    </message>
</context>
</TS>
