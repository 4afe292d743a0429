#pragma once
// The configuration dialog's controls, in twips. Labels whose names start with "Frame" are the
// frames around groups of controls; `Picture1` is the curve graph's box, the container of the
// six graph lines.
namespace vx::config {

inline constexpr const char* kConfigLayout = R"(
label   Frame1      -        120  120 4320 1980 "モニターデバイス設定"
check   chkmonitor  -        240  420 3600  300 "モニター機能　　　ＯＦＦ"
list    List1       -        240  780 4080  900
label   Label11     -        240 1740 4080  300 ""
label   Frame2      -        120 2220 4320  900 "ギャップ調整"
label   Label3      -        240 2580  360  300 "遅"
slider  gyap        -        600 2520 3240  420
label   Label4      -       3960 2580  360  300 "速"
label   Frame3      -        120 3240 4320 1560 "録音"
option  stereo(1)   -        240 3540 1200  300 "ｽﾃﾚｵ"
option  stereo(0)   -        240 3900 1200  300 "ﾓﾉﾗﾙ"
option  bit(1)      -       1560 3540 1200  300 "16bit"
option  bit(0)      -       1560 3900 1200  300 "8bit"
option  bitrate(2)  -       2880 3540 1500  300 "44,100kHz"
option  bitrate(1)  -       2880 3900 1500  300 "22,050kHz"
option  bitrate(0)  -       2880 4260 1500  300 "11,025kHz"
check   autorecstart -       240 4380 2520  300 "再生と同時に録音"
label   Frame4      -        120 4920 4320 1920 "サンプラーオプション"
check   sampoff     -        240 5220 3000  300 "サンプラーＯＦＦ"
label   Command1(0) -        240 5640  480  420 "１"
label   Command1(1) -        750 5640  480  420 "２"
label   Command1(2) -       1260 5640  480  420 "３"
label   Command1(3) -       1770 5640  480  420 "４"
label   Command1(4) -       2280 5640  480  420 "５"
label   Command1(5) -       2790 5640  480  420 "６"
label   Command1(6) -       3300 5640  480  420 "７"
label   Command1(7) -       3810 5640  480  420 "８"
label   Label12     -        240 6180 4080  600 "メインプレーヤにノイズがのる場合はサンプラーをＯＦＦにしてください。"
label   Frame5      -       4560  120 4320 1980 "Fader設定"
label   Label5      -       4680  420 1680  300 "TRIM初期値"
slider  strim       -       6360  360 2400  420
label   Label6      -       4680  900 3960  300 "サーチ時の頭再生の間隔"
label   Label7      -       4680 1260  360  300 "速"
slider  slsarch     -       5040 1200 3240  420
label   Label8      -       8400 1260  360  300 "遅"
check   cueswitch   -       4680 1680 3600  300 "Switchと同時にPLAY"
label   Frame6      -       4560 2220 4320 4020 "クロスフェーダ―"
option  patern(0)   -       4680 2520  600  300 "A"
option  patern(1)   -       5340 2520  600  300 "B"
option  patern(2)   -       6000 2520  600  300 "C"
label   fdrec       -       7560 2460 1200  420 "記憶"
label   Label9(0)   -       4680 3000  900  300 "A:Start"
slider  fdSlider0   -       5580 2940 3180  420
label   Label9(1)   -       4680 3420  900  300 "A:End"
slider  fdSlider1   -       5580 3360 3180  420
label   Label9(2)   -       4680 3840  900  300 "B:Start"
slider  fdSlider2   -       5580 3780 3180  420
label   Label9(3)   -       4680 4260  900  300 "B:End"
slider  fdSlider3   -       5580 4200 3180  420
label   Label10     -       4680 4740 1500  300 "切り替え時間："
text    Text1       -       6180 4680  900  360 "1000"
label   Label13     -       7140 4740 1260  300 "00ミリ秒"
label   Picture1    -       4680 5100 2400 1020 ""
label   Label2(0)   -       7200 5280  300  300 "A"
label   Label2(1)   -       7200 5640  300  300 "B"
line    Line1(0)    Picture1   0    0    0    0
line    Line1(1)    Picture1   0    0    0    0
line    Line1(2)    Picture1   0    0    0    0
line    Line1(3)    Picture1   0    0    0    0
line    Line1(4)    Picture1   0    0    0    0
line    Line1(5)    Picture1   0    0    0    0
label   startvolcon -       4560 6360 2520  420 "ボリュームコントロール"
)";

inline constexpr double kConfigWidth = 9060, kConfigHeight = 7260;

}  // namespace vx::config
