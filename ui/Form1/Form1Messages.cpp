// The main window's messages: confirmations, the loader's warnings and the forecast's refusals.
#include "Form1Messages.h"
#include "Form1Design.h"

#include "Forecast.h"
#include "LoadProblem.h"
#include "RaceCard.h"

#include <cstdint>
#include <limits>

namespace {

QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

namespace form1 {

QString confirmClearText()
{
    return QStringLiteral("消去してよろしいですか？");
}

QString confirmExitText()
{
    return QStringLiteral("終了してよろしいですか？");
}

QString confirmLoadText()
{
    return QStringLiteral("ｵｯｽﾞを読み込みますか？");
}

QString noLoadDataText()
{
    return QStringLiteral("読込データがありませんでした。");
}

QString loadProblemText(const spat4::LoadProblem &problem)
{
    using Kind = spat4::LoadProblem::Kind;
    const QString detail = fromUtf8(problem.detail);
    const auto withDetail = [&detail](const QString &text) {
        return detail.isEmpty() ? text : text + QLatin1Char('\n') + detail;
    };
    switch (problem.kind) {
    case Kind::NoSelection:
    case Kind::NoMatchingFile:
        return noLoadDataText();
    case Kind::FileUnreadable:
        return withDetail(QStringLiteral("オッズデータのファイルを読み込めませんでした。"));
    case Kind::FileNotSettled:
        return withDetail(
            QStringLiteral("オッズデータのファイルが書き込み中のため読み込めませんでした。"
                           "しばらく待ってから、もう一度読み込んで下さい。"));
    case Kind::TooShortForHeader:
    case Kind::TooShortForOdds:
        return withDetail(QStringLiteral("オッズデータのファイルが短すぎます。"
                                         "ファイルが壊れている可能性があります。"));
    case Kind::RunnerCountNotANumber:
        return QStringLiteral("オッズデータの出走馬数「%1」が読み取れませんでした。"
                              "ファイルが壊れている可能性があります。")
            .arg(detail);
    case Kind::RunnerCountOutOfRange:
        return QStringLiteral("オッズデータの出走馬数が %1 頭です。"
                              "%2～%3頭のレースだけ読み込めます。")
            .arg(detail)
            .arg(engine::kMinRunners)
            .arg(engine::kMaxRunners);
    case Kind::OddsNotFinite:
        return QStringLiteral("オッズデータの%1番の複勝オッズが表示できない値です。").arg(detail);
    }
    return noLoadDataText();
}

QString forecastErrorText(const engine::ForecastError &error)
{
    using Kind = engine::ForecastError::Kind;
    const QString column = columnHeading(static_cast<int>(error.column) + 1);
    // A whole number or a sum may leave the 16-bit range at either end.
    const QString range = QStringLiteral("%1 から %2")
                              .arg(std::numeric_limits<std::int16_t>::min())
                              .arg(std::numeric_limits<std::int16_t>::max());
    switch (error.kind) {
    case Kind::WholeNumberOutOfRange:
        return QStringLiteral("%1番の「%2」の数値が範囲を超えています。"
                              "%3 までの数値を入力して下さい。")
            .arg(error.horse)
            .arg(column, range);
    case Kind::FormSumOutOfRange:
        return QStringLiteral("%1番の「%2」「%3」「%4」の合計が範囲を超えています。"
                              "合計が %5 までになるように入力して下さい。")
            .arg(error.horse)
            .arg(columnHeading(1), columnHeading(2), columnHeading(3), range);
    // Odds beyond a double lie at either end too: "9E999" and "-9E999" alike.
    case Kind::OddsNotFinite:
        return QStringLiteral("%1番の「%2」の数値が扱える範囲を超えています。"
                              "複勝オッズを確かめて下さい。")
            .arg(error.horse)
            .arg(column);
    case Kind::OddsMidNotFinite:
        return QStringLiteral("%1番の「%2」と「%3」の合計が扱える範囲を超えています。"
                              "複勝オッズを確かめて下さい。")
            .arg(error.horse)
            .arg(columnHeading(4), columnHeading(5));
    case Kind::RunnerCountOutOfRange:
        break;
    }
    return QStringLiteral(
               "出走馬数が正しくありません。出走馬数を %1 から %2 の中から選んで下さい。")
        .arg(engine::kMinRunners)
        .arg(engine::kMaxRunners);
}

} // namespace form1
