#include "tools/CodePageDetection.h"

#include <array>
#include <string_view>
#include <unordered_set>

#include "layout/HostCodes.h"
#include "platform/CodePages.h"
#include "platform/Windows1252.h"

namespace {

std::u32string Decoded(std::string_view utf8) {
    std::u32string out;
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        const std::size_t length = Utf8SequenceAt(utf8, at, c);
        if (length == 0) {
            ++at;
            continue;
        }
        out.push_back(c);
        at += length;
    }
    return out;
}

using CharacterSet = std::unordered_set<char32_t>;

CharacterSet SetOf(std::string_view utf8) {
    const std::u32string characters = Decoded(utf8);
    return CharacterSet(characters.begin(), characters.end());
}

// The characters that make a text read as its language: the most frequent letters or characters
// (and those of a machine's operator screens) weigh most.
struct Language {
    CharacterSet Frequent;
    CharacterSet Letters;
};

const Language& LanguageOf(int codePage) {
    static const std::array<std::pair<int, Language>, 14> languages{{
        {1252, {SetOf("éèàçüöäßñóáíúâêôîûëïÉÜÖÄÑÓÁÀÈÇ°µ±²³"), SetOf("ìòùÿÂÊÎÔÛËÏÌÒÙÍÚ×·§ª")}},
        {1250, {SetOf("ąćęłńśźżĄĆĘŁŃŚŹŻčďěňřšťůžČĎĚŇŘŠŤŮŽőűŐŰ"), SetOf("ăâîşţĂÂÎŞŢĺľŕĹĽŔ")}},
        {1251,
         {SetOf("оеаинтсрвлкмдпуяыьгзбОЕАИНТСРВЛКМДПУ"),
          SetOf("чйхжшюцщэфъёЧЙХЖШЮЦЩЭФЪЁЯЫЬГЗБіїєґІЇЄҐўЎ")}},
        {1253,
         {SetOf("αοιετσνηυρκπμλςάίήέόύώΑΟΙΕΤΣΝΗΥΡΚΠΜΛ"), SetOf("βγδζθξφχψωΒΓΔΖΘΞΦΧΨΩϊϋΐΰΆΈΉΊΌΎΏ")}},
        {1254, {SetOf("ğĞşŞıİ"), SetOf("çÇöÖüÜâîû")}},
        {1255, {SetOf("יוהאלמרבנתשדעכקסגפחצטזץףםןך"), {}}},
        {1256, {SetOf("اليمنوهرتبعدسفكقحجشطصزخضذثغظةىءأإآؤئ"), {}}},
        {1257, {SetOf("ąčęėįšųūžĄČĘĖĮŠŲŪŽāēīĀĒĪ"), SetOf("ģķļņōĢĶĻŅŌõäöüÕÄÖÜ")}},
        {1258,
         {SetOf("ăâđêôơưĂÂĐÊÔƠƯ\u0300\u0301\u0303\u0309\u0323"), SetOf("àáèéìíòóùúýÀÁÈÉÌÍÒÓÙÚÝ")}},
        {874, {SetOf("กขคงจชซดตถทนบปผพฟมยรลวสหอฮะัาำิีึืุูเแโใไ่้๊๋็์"), SetOf("ฃฅฆฉฌญฎฏฐฑฒณธภศษฦฤฬ")}},
        {932,
         {SetOf("原点復帰主軸速度送工具自動手動停止開始設定冷却非常警報座標日一国会人年大十本中長出"
                "三同時事行社見月分後前民生間対上部東者地合市業内相方定今回新場金員入選立開手力学問"
                "高代明実円関子京全目表通外最言現理体化田当約題下首意法不強公持野以思家多正安心教文"
                "元重近考画海知道物使品計特始運終台広住真有口少料工建空急止送切転足究起着"),
          {}}},
        {936,
         {SetOf("的一是不了人我在有他这中大来上国个到说们为子和你地出道也时年得就那要下以生会自着去"
                "之过家学对可里后小么心多天而能好都然没日于起还发成事只作当想看文无开手十用主行方又"
                "如前所本见经头面公同三已老从动两长知民样现分将外但身些与高意进把法此实回二理点月明"
                "其种声全工己话者向情部正名定问力机给等几很业最间新什打便位因重被走电四第门相次东口"
                "使再平真气信少关并内加化由代产入先五水万市体别处总才场比住员通目报立命活难数件安表"
                "原车白应路期常提感何更反合放做系计或利光果界及今务制解各任至清物记边共风接它许特觉"
                "望直服题度统色字请交让认算论百义科元术结功指思非流每管连远资带快条变言权展该领传近"
                "留决保达运半候必步完深区即求品转量空技轻程告语基满式息写识极令收取设始版双越史千片"
                "容像找站改形早音火际则首单据导影失网似专若校读志观究包组造落视离轴刀给速坐标冷却零"
                "暂停启复参诊断警偏置段跳循环倍率序编辑模储显示屏幕图选择确取消输统"),
          {}}},
        {949,
         {SetOf("이다는의에가을하고지기리사서로도한으자수정대시어니일전그나인구아해게보상제있적주부되"
                "라들동여원성장경과만국신공것스면소문중화비내위모우음방요치연학실를러조트관개안생진속"
                "점축송복귀작설냉각급알람좌표입출력종료선택확인취소프램드툴"),
          {}}},
        {950,
         {SetOf("的一是不了人我在有他這中大來上國個到說們為子和你地出道也時年得就那要下以生會自著去"
                "之過家學對可裡後小麼心多天而能好都然沒日於起還發成事只作當想看文無開手十用主行方又"
                "如前所本見經頭面公同三已老從動兩長知民樣現分將外但身些與高意進把法此實回二理點月明"
                "其種聲全工己話者向情部正名定問力機給等幾很業最間新什打便位因重被走電四第門相次東口"
                "使再平真氣信少關並內加化由代產入先五水萬市體別處總才場比住員通目報立命活難數件安表"
                "原車白應路期常提感何更反合放做系計或利光果界及今務制解各任至清物記邊共風接它許特覺"
                "望直服題度統色字請交讓認算論百義科元術結功指思非流每管連遠資帶快條變言權展該領傳近"
                "留決保達運半候必步完深區即求品轉量空技輕程告語基滿式息寫識極令收取設始版雙越史千片"
                "容像找站改形早音火際則首單據導影失網似專若校讀志觀究包組造落視離軸刀給速座標冷卻零"
                "暫停啟復參診斷警偏置段跳循環倍率序編輯模儲顯示螢幕圖選擇確取消輸統"),
          {}}},
    }};
    for (const auto& [number, language] : languages)
        if (number == codePage) return language;
    return languages[0].second;
}

bool IsIdeograph(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF);
}
bool IsKana(char32_t c) {
    return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FC);
}
bool IsHangul(char32_t c) {
    return c >= 0xAC00 && c <= 0xD7A3;
}
// A byte kept as itself because the code page has no character for it.
bool IsKeptByte(char32_t c) {
    return (c >= 0x80 && c <= 0x9F) || c >= 0x10FF80 || (c >= 0xE000 && c <= 0xF8FF);
}

bool IsAsciiLetter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
// Thai vowel and tone marks, which stand on a consonant.
bool IsThaiMark(char32_t c) {
    return c == 0x0E31 || (c >= 0x0E34 && c <= 0x0E3A) || (c >= 0x0E47 && c <= 0x0E4E);
}
bool IsThaiConsonant(char32_t c) {
    return c >= 0x0E01 && c <= 0x0E2E;
}
// Code pages whose letters are Latin ones: their letters stand among ASCII letters in words.
bool IsLatinCodePage(int codePage) {
    return codePage == 1252 || codePage == 1250 || codePage == 1254 || codePage == 1257 ||
           codePage == 1258;
}

// How well one text reads in one code page, in points. A character of two bytes counts twice,
// so that the code pages are scored by the same number of bytes.
int Score(const std::u32string& text, int codePage) {
    const Language& language = LanguageOf(codePage);
    const bool doubleByte = IsDoubleByteCodePage(codePage);
    const bool latin = IsLatinCodePage(codePage);
    int score = 0;
    std::size_t runStart = 0;
    bool boundedBefore = false, boundedAfter = false, single = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (c < 0x80) continue;
        if (i == 0 || text[i - 1] < 0x80) {
            // A run of characters beyond ASCII starts: is it inside a word of ASCII letters?
            runStart = i;
            std::size_t end = i;
            while (end < text.size() && text[end] >= 0x80)
                ++end;
            boundedBefore = i > 0 && IsAsciiLetter(text[i - 1]);
            boundedAfter = end < text.size() && IsAsciiLetter(text[end]);
            single = end - i == 1;
        }
        if (IsKeptByte(c)) {
            score -= 4;
            continue;
        }
        if (codePage == 874 && IsThaiMark(c) && (i == runStart || !IsThaiConsonant(text[i - 1]) &&
                                                                      !IsThaiMark(text[i - 1]))) {
            score -= 4;
            continue;
        }
        // Letters of another script do not stand inside a word of Latin letters, nor one alone
        // beside one.
        if (!latin && ((boundedBefore && boundedAfter) ||
                       (single && (boundedBefore || boundedAfter))))
            continue;
        int points = 0;
        if (language.Frequent.contains(c))
            points = 3;
        else if (language.Letters.contains(c))
            points = 1;
        else if (codePage == 932 && IsKana(c))
            points = 3;
        else if ((codePage == 932 || codePage == 936 || codePage == 950) && IsIdeograph(c))
            points = 1;
        else if (codePage == 949 && IsHangul(c))
            points = 1;
        if (codePage == 1252 && points > 0) {
            const bool before = i > 0 && text[i - 1] >= 0x80;
            const bool after = i + 1 < text.size() && text[i + 1] >= 0x80;
            if (before || after) points = 1;
        }
        score += doubleByte && c >= 0x100 ? 2 * points : points;
    }
    return score;
}

constexpr int MinimumEvidence = 5;

// In the order ties are settled: Windows-1252 first, then by how many layouts are written in each.
constexpr std::array<int, 14> TieOrder{1252, 936, 950, 932, 949, 1251, 1250,
                                       1253, 1254, 1257, 1255, 1256, 1258, 874};

} // namespace

DetectedCodePage DetectCodePage(std::span<const ControlRecord> records, std::optional<int> chosen) {
    if (chosen && IsSupportedCodePage(*chosen)) return {*chosen, CodePageRule::Chosen};
    // Each different text once: a layout repeats its labels and pictures many times.
    std::unordered_set<std::string_view> texts;
    for (const ControlRecord& record : records) {
        // The mark of a screen label is the host's code, not a letter of any language.
        std::string_view label = record.rLabel;
        if (!label.empty() && label.front() == ScreenLabelMark) label.remove_prefix(1);
        for (const std::string_view field :
             {std::string_view(record.rText), label, std::string_view(record.rGText),
              std::string_view(record.rFormat), std::string_view(record.rBitMapPath)})
            for (const char c : field)
                if (static_cast<unsigned char>(c) >= 0x80) {
                    texts.insert(field);
                    break;
                }
    }
    if (texts.empty()) return {1252, CodePageRule::Default};

    std::array<int, TieOrder.size()> scores{};
    for (const std::string_view text : texts)
        for (std::size_t k = 0; k < TieOrder.size(); ++k)
            scores[k] += Score(Decoded(CodePageToUtf8(text, TieOrder[k])), TieOrder[k]);
    std::size_t best = 0;
    for (std::size_t k = 1; k < TieOrder.size(); ++k)
        if (scores[k] > scores[best]) best = k;
    // A stray byte or two is no evidence against the default: another code page must score at
    // least as much as two characters of its language.
    if (best == 0 || scores[best] < MinimumEvidence)
        return {1252, scores[0] > 0 ? CodePageRule::Texts : CodePageRule::Default};
    return {TieOrder[best], CodePageRule::Texts};
}

const char* CodePageRuleName(CodePageRule rule) {
    switch (rule) {
    case CodePageRule::Chosen:
        return "chosen";
    case CodePageRule::Texts:
        return "texts";
    case CodePageRule::Default:
        break;
    }
    return "default";
}

std::string CodePageCaption(const DetectedCodePage& detected) {
    const std::string name = CodePageName(detected.CodePage);
    switch (detected.From) {
    case CodePageRule::Chosen:
        return name + " (chosen)";
    case CodePageRule::Texts:
        return name + " (from the texts)";
    case CodePageRule::Default:
        break;
    }
    return name + " (no text needs another)";
}
