#include "pic18_variant.h"

#include <array>

namespace tavrin {

namespace {

const Pic18EraseTexts kShoukyoTexts{
    QStringLiteral("チップ消去..........チップイレース（コードプロテクト解除）しました。"),
    QStringLiteral("プログラムメモリ消去..........ＦＬＡＳＨプログラムメモリー"),
    QStringLiteral("の消去中.........."),
    QStringLiteral("の消去に失敗しました。"),
    QStringLiteral("プログラムメモリ消去.........ＦＬＡＳＨプログラムメモリーを消去しました。"),
    QStringLiteral(
        "消去..........ＦＬＡＳＨプログラムメモリー＆コンフィギュレーションワードの消去で"
        "通信エラーが起きました。"),
    QStringLiteral("消去..........ＥＥＰＲＯＭデータメモリーの消去中.........."),
    QStringLiteral("消去..........ＥＥＰＲＯＭデータメモリーの消去で通信エラーが起きました。"),
    QStringLiteral("消去..........ＥＥＰＲＯＭデータメモリーを消去しました。"),
    QStringLiteral("消去..........ＥＥＰＲＯＭデータメモリーの消去に失敗しました。"),
};

const Pic18EraseTexts kEraseTexts{
    QStringLiteral("チップ消去..........チップイレース（コードプロテクト解除）に成功しました。"),
    QStringLiteral("プログラムメモリ消去..........ＦＬＡＳＨプログラムメモリー"),
    QStringLiteral("のイレース中.........."),
    QStringLiteral("のイレースに失敗しました。"),
    QStringLiteral("プログラムメモリ消去.........ＦＬＡＳＨプログラムメモリー消去に成功しました。"),
    QStringLiteral(
        "消去..........ＦＬＡＳＨプログラムメモリー＆コンフィギュレーションワードイレース"
        "で通信エラーが起きました。"),
    QStringLiteral("消去..........ＥＥＰＲＯＭデータメモリーの中.........."),
    QStringLiteral("消去..........ＥＥＰＲＯＭデータメモリーで通信エラーが起きました。"),
    QStringLiteral("消去..........ＥＥＰＲＯＭデータメモリーのイレースしました。"),
    QStringLiteral("消去..........ＥＥＰＲＯＭデータメモリーのイレースに失敗しました。"),
};

const Pic18Variant kPic18F252{QStringLiteral("PIC18F252"),
                              0x20,
                              ProgramTransfer::Panels,
                              4,
                              false,
                              false,
                              ConfigErasedTest::Exact,
                              false,
                              0,
                              30000,
                              &kEraseTexts};

const Pic18Variant kPic18F452{QStringLiteral("PIC18F452"),
                              0x21,
                              ProgramTransfer::Panels,
                              4,
                              false,
                              false,
                              ConfigErasedTest::Exact,
                              false,
                              0,
                              30000,
                              &kEraseTexts};

const Pic18Variant kPic18F8720{QStringLiteral("PIC18F8720"),
                               0x30,
                               ProgramTransfer::WholeMemory,
                               8,
                               true,
                               true,
                               ConfigErasedTest::Covering,
                               true,
                               100,
                               90000,
                               &kShoukyoTexts};

const std::array<const Pic18Variant*, 3> kVariants{&kPic18F252, &kPic18F452, &kPic18F8720};

} // namespace

const Pic18Variant* pic18VariantFor(const QString& deviceName) {
    for (const Pic18Variant* v : kVariants)
        if (v->DeviceName == deviceName) return v;
    return nullptr;
}

const Pic18Variant* const* pic18Variants(int& count) {
    count = int(kVariants.size());
    return kVariants.data();
}

} // namespace tavrin
