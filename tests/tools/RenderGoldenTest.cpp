#include <QCryptographicHash>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "RenderProcess.h"
#include "TestFiles.h"

// Logos whose bytes must never change: every font kind the program meets (Latin faces,
// the Japanese UI face, the symbol face, fallback faces and a family that is not
// installed), each style, heights up to 64 pixels, and every mix and direction. Each
// row is one batch line; its BMP is compared by SHA-256.
namespace {

struct TGolden {
    const char* Arguments;
    const char* Sha256;
};

const TGolden Goldens[] = {
    {"--font 'Times New Roman' --font-height 8 --regular", "5a97d36fdb30bd001878c5fad74a7c8ce4429bdaf7979b7e73556fe131bca71b"},
    {"--font 'Times New Roman' --font-height 9", "a2d7e511bf428b2682297ccd343841696768bbef025a5099f209fe01c1cb358c"},
    {"--font 'Times New Roman' --font-height 12 --italic --mix 2", "72028fc98250a58e63feea17f571c3c91604e14d46df42fcbb48b0aaa50161a4"},
    {"--font 'Times New Roman' --font-height 13 --regular --italic --direction 2", "06ac813ff77a5568c05a241ae4f625d06e0f0168265818e8ad84b3674482ecb5"},
    {"--font 'Times New Roman' --font-height 16 --underline --mix 3 --direction 3", "8cd7e05c8c194706bf8a366c42ae963020732b1c3b996e303f8b4133c209b0a3"},
    {"--font 'Times New Roman' --font-height 20 --regular --strikeout --mix 4 --direction 4", "ac50d7b49204776173747012d49c8a5c3d18d0806cb65b301d52a07ad4c5c7bb"},
    {"--font 'Times New Roman' --font-height 29", "3ff561acac188bc5fec021b2dfd47a28ce1eb99334d46feb27a91efa68f40e2b"},
    {"--font 'Times New Roman' --font-height 29 --layer text --hspace 3 --vspace 2", "6941ca977d1c16fa9ae74996ec94bba569bf307b4bb03680a6481070179e54f5"},
    {"--font 'Times New Roman' --font-height 32 --regular --underline --strikeout --mix B --direction 2", "eca1e907df2bf5eadf3749a82d1d8938bce4ad0f4176109226ae907527190b7b"},
    {"--font 'Times New Roman' --font-height 48 --italic --underline --mix C --direction 3", "b7d48e233227b325cd6f613a23a3133357f552884e05b61146b7ee28c663dd3f"},
    {"--font 'Times New Roman' --font-height 64 --mix D --direction 4", "d9bba9013467a47a692b23d64903ebf0a1545547bd93e23efa8c41a92bfcfdc7"},
    {"--font 'Times New Roman' --font-height 64 --regular --italic --strikeout --layer text", "67696b2e51ea8441c4c384cc77fff70903c366be6dc32735caf3f8238b6bea57"},
    {"--font Arial --font-height 8 --regular --text 'Hello, World!'", "0d56033587f2a90efbe80c1c4f660eca54eb24fed3b2cc18ab655b916e8ad2c8"},
    {"--font Arial --font-height 10 --text 'Tabs\tand  blanks'", "7f513f1369b5e50cdfd99f82d7cd28d1f4316799dcea8aa6d7e46fc4c877c5f7"},
    {"--font Arial --font-height 15 --italic --text AVATAR --direction 2", "4fe02ab0f04eb2e418d34a56de0e2f2e750c1915d42b5f49294ce9cd2beaa3e1"},
    {"--font Arial --font-height 24 --regular --underline --text 'fi fl ffi' --mix 2 --direction 3", "ca31fc37b28f10da927aca5da580f9958486dc9767aa545312eeba294df933c4"},
    {"--font Arial --font-height 37 --strikeout --italic --text 'Wave 1/2' --mix 3", "40904cff323e54f15ed6c0fc349e0b33dbabc0317ad869b4ec25c1b794dfb713"},
    {"--font Arial --font-height 57 --regular --text 'AV To' --mix 4 --direction 4", "49b32a3cebaf725fb1b5e88f4316b5f3f474ba3212ab831f1a7ce6be1c244247"},
    {"--font Arial --font-height 64 --underline --strikeout --text g --layer text", "b1baeb7ee52717d9770c211d175651fd67f16e700cb8373f929f17d09751d21f"},
    {"--font 'ＭＳ Ｐゴシック' --font-height 12 --regular --text 'ロゴ作成ツール'", "9070e798b160583459ec76d6337b1bf4f41cc50e92914fc70e42bd4d18249356"},
    {"--font 'ＭＳ Ｐゴシック' --font-height 13 --text 'ﾊﾝｶｸ ｶﾀｶﾅ' --mix 2", "606a192de0dc68e00110b0a768999a18d49d31941dce202962a60f7fe757ee23"},
    {"--font 'ＭＳ Ｐゴシック' --font-height 16 --italic --text '日本語 Text' --direction 2", "4756639a3ae46a177c95aa640ed8461af37055e8d8de4fe3472abc96f61fc495"},
    {"--font 'ＭＳ Ｐゴシック' --font-height 24 --regular --underline --strikeout --text 'グラデーション' --mix 3 --direction 3", "f2e74a6e96219148fe95a39cb141049ccd9889893f2574da2980ba9a0512e844"},
    {"--font 'ＭＳ Ｐゴシック' --font-height 33 --italic --text '漢字かな' --mix 4 --direction 4", "b93c141343ec815b960441834c98bfdc2df586cb203f52d8b81f8fb760a3fa52"},
    {"--font 'ＭＳ Ｐゴシック' --font-height 64 --text '森' --layer text", "8c55cad770b2361bdaebec55923bb32c258205f18cfbaae968165fd4d4d0951e"},
    {"--font 'MS PGothic' --font-height 20 --regular --text 'Mix ミックス'", "6c7772572bf4e4df2c739f4670fe77c81f91b2613a8d5c862eec94977ea536f5"},
    {"--font Symbol --font-height 8 --regular --text abgd", "1a36497a7d8871a479caedf6b2758b19900369a3b654f2e4418c6c5d25d8ff51"},
    {"--font Symbol --font-height 13 --regular --text 'ﾜﾝﾞﾟ'", "45b07891c6ca91361431a3ac0f8ff853223b35ecd22e53060a42b90d15fae503"},
    {"--font Symbol --font-height 16 --text 'a+b=g' --mix 2 --direction 2", "a7cb11fa66ebdc7e09b3cb630f2ce946d7ebede3c9b22d5c162d2ff3eea62e4d"},
    {"--font Symbol --font-height 29 --italic --text 'WpS' --mix 3 --direction 3", "f6232e76349029d29a79010d1b766bde9f545985381ea5b4a007df239b949cd8"},
    {"--font Symbol --font-height 40 --regular --underline --strikeout --text 'Å±³' --mix 4 --direction 4", "367b7a5503858f0d5c4729565551b218662dc4787eebf1f3a013db9c6cbe44dc"},
    {"--font Symbol --font-height 64 --regular --text 'pÞ' --layer text", "ab07dcc320ffe03513bea678a8f2c87d6cc062983629f31dbc89832a3d746da0"},
    {"--font 'Times New Roman' --font-height 16 --regular --text 'Logo ロゴ'", "69d706b93c7e67f13307a7dc4919d11e94a3476a71e0e4b90612c94f4ed0af46"},
    {"--font 'Times New Roman' --font-height 24 --text 'ა ბ გ' --mix 2", "6ac1636d10bacf7c6d6cf5fee88acaed5032979691ca78f594fc7b9e4aa32861"},
    {"--font Arial --font-height 20 --italic --text 'Mix 日本 ვ ☃' --direction 2", "88e99ee5a8a14e1a86e5ec3028dd73132408cffd997d37e735f136e752807b8c"},
    {"--font Arial --font-height 18 --regular --text 'x\U0001F600y\uE000z' --mix 3", "b1bd547d15a025a8dbda481e01248c6dcd3ddd292c31be040269663e834b13e4"},
    {"--font Symbol --font-height 20 --regular --text 'a日b' --direction 3", "2f4ed91a38122237e3f5499e2fe101877da5ed4154f0b1ee455bb39603786bce"},
    {"--font 'ＭＳ Ｐゴシック' --font-height 22 --regular --text 'ロゴ ვ Ж' --mix 4", "c52ed25796f6794f0f36eb9fe89824432dac997cb47be3ecca2168ea79356e29"},
    {"--font NoSuchFamilyAnywhere --font-height 12 --regular --text 'Missing face'", "d9977ab3238374c89bd858f10f387bd73a591ba2f3372cfc45c2f4a8721ae0a6"},
    {"--font NoSuchFamilyAnywhere --font-height 29 --text 'Missing 日本' --mix 2 --direction 2", "1d572373a4a41b52e69491f08ade355c4bace630de6a8730554b33b0e66316bb"},
    {"--font NoSuchFamilyAnywhere --font-height 64 --italic --underline --text Q --layer text", "313fdfc60d5e160e34d1e879e230c4af71a1b9cb208f181b4a916c8680778b6d"},
    {"--font 'DejaVu Sans' --font-height 14 --italic --text 'Oblique'", "ad6abb3fe605a937415cd82ff40f5f557075cb3eb94036430aa006aed27486bb"},
    {"--font 'Courier New' --font-height 17 --regular --text 'mono 0123'", "248061c510f729a55dd3c37ed72b8dffa161011b7efc9a4a0a218d7b10762a68"},
    {"--font 'Times New Roman' --font-height 29 --hspace 100 --vspace 100 --bg 0x00FFFFFF --font-color 0x000000FF --mix 3", "097e97dacfcae932ecbaa9086529a95cb2f7b7e271c013715d662a44d4cbd2e6"},
    {"--font 'Times New Roman' --font-height 29 --bg '#102030' --top 0x80000005 --last '#ABCDEF' --direction 2 --mix 2", "25d22c7d49a13c7b52b11ae4b247477af1148da7545699798738b89a42ebabd6"},
    {"--font Arial --font-height 11 --layer gradient --direction 4", "0e53ab9ab35cca9e6ae535432847455f085b67eae5efbe0a57ea282b71f67191"},
    {"--font Arial --font-height 26 --regular --text ' ' --mix 1", "df8a5bd2f6dcbd6cf79204ae7393d4d51aa7a6d252f3bf2ad9b0b4e4bb8d756b"},
};

QString RenderBatch(QTemporaryDir& folder)
{
    QByteArray batch;
    int index = 0;
    for (const TGolden& golden : Goldens)
        batch += QByteArray(golden.Arguments) + " -o " + QString("g%1.bmp").arg(index++, 2, 10, QChar('0')).toUtf8() + '\n';
    WriteAll(folder.filePath("goldens.txt"), batch);
    const TRenderRun run = RunRenderer({"--batch", "goldens.txt"}, {QProcessEnvironment::systemEnvironment(), folder.path(), {}});
    return run.ExitCode < 0 ? QStringLiteral("the renderer did not finish") : run.Err;
}

} // namespace

TEST(RenderGoldenTest, LogosUpToSixtyFourPixelsKeepTheirBytes)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString errors = RenderBatch(folder);
    int index = 0;
    for (const TGolden& golden : Goldens) {
        SCOPED_TRACE(golden.Arguments);
        const QByteArray bytes = ReadAll(folder.filePath(QString("g%1.bmp").arg(index++, 2, 10, QChar('0'))));
        const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
        EXPECT_EQ(hash.toStdString(), golden.Sha256);
    }
    // A family that is not installed and the private-use character no font has are the
    // only things the renderer may say something about.
    for (const QString& line : errors.split(u'\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(line.contains(QLatin1String("NoSuchFamilyAnywhere"))
                    || line == QLatin1String("vezodev-render: no installed font has U+E000"))
            << line.toStdString();
}
