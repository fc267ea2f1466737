// The three embedded caption tables: their form, their keys and the texts other parts of the
// program compare captions with.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "caption_test_util.h"
#include "common/atomic_file.h"
#include "common/utf.h"
#include "shell/caption_table.h"
#include "shell/caption_targets.h"
#include "shell/shell_resources.h"

namespace velq {
namespace {

// The caption numbers every table holds, after FontName and Title, in this order. Str862 and
// Str863 (the macro options caption, the fire page's X column), Str900..Str914, Str916..Str917
// and Str918..Str919 (the recorder's note for Wayland, a number field's text that is no number)
// are ours.
constexpr std::array<std::pair<int, int>, 30> kCaptionNumberRanges = {{
    {0, 5},     {7, 17},    {20, 20},   {100, 104}, {106, 109}, {200, 208}, {210, 214}, {220, 226},
    {230, 233}, {240, 243}, {250, 256}, {260, 266}, {300, 311}, {400, 402}, {404, 418}, {420, 422},
    {430, 430}, {432, 433}, {435, 437}, {440, 448}, {500, 502}, {510, 512}, {520, 523}, {600, 606},
    {610, 614}, {620, 621}, {700, 702}, {800, 863}, {900, 914}, {916, 921},
}};
constexpr size_t kKeyCount = 232;

// The messages the device flows show when a read, a write or opening the mouse fails, when a
// loaded file needed repairs, when a cancelled write may have left part of it in the mouse,
// when a read was stopped, the settings a read shows as defaults (a line and the settings of
// each section that failed its check), and when the mouse could not be kept in the undo history
// before a write that replaces its settings.
constexpr auto kFlowMessageKeys = std::to_array<std::string_view>(
    {"Str900", "Str901", "Str902", "Str903", "Str904", "Str905", "Str906", "Str907", "Str908",
     "Str909", "Str910", "Str911", "Str912", "Str916", "Str917"});

// The messages about the user's files: a macro library that was closed up at load, and a gun
// key list that could not be read.
constexpr auto kUserFileMessageKeys = std::to_array<std::string_view>({"Str913", "Str914"});

// The file name of the udev rule, which the no-access message names in every language.
constexpr std::string_view kUdevRuleFile = "70-velq540b.rules";
// The captions of the Read and Apply buttons, which messages name as the way on.
constexpr std::string_view kReadButtonKey = "Str017";
constexpr std::string_view kApplyButtonKey = "Str001";

std::vector<std::string> ExpectedKeys() {
    std::vector<std::string> keys = {"FontName", "Title"};
    for (auto [first, last] : kCaptionNumberRanges) {
        for (int n = first; n <= last; ++n) {
            char key[8];
            std::snprintf(key, sizeof key, "Str%03d", n);
            keys.emplace_back(key);
        }
    }
    return keys;
}

CaptionTable Load(int language) {
    CaptionTableResult result = LoadCaptionTable(language);
    EXPECT_TRUE(result) << result.error;
    return result.table;
}

std::string DecodedResource(int language) {
    const auto bytes = ShellResource(CaptionResourceName(language));
    if (bytes.size() < 2) {
        return {};
    }
    Utf16DecodeResult decoded = DecodeUtf16Le(bytes.subspan(2));
    EXPECT_TRUE(decoded) << decoded.error;
    return decoded.text;
}

class ShippedCaptionTableTest : public ::testing::TestWithParam<int> {};

TEST_P(ShippedCaptionTableTest, HoldsTheKeysInOrder) {
    const std::vector<std::string> expected = ExpectedKeys();
    ASSERT_EQ(expected.size(), kKeyCount);
    const CaptionTable table = Load(GetParam());
    std::vector<std::string> keys;
    for (const CaptionEntry& entry : table.Entries()) {
        keys.push_back(entry.key);
    }
    EXPECT_EQ(keys, expected);
}

TEST_P(ShippedCaptionTableTest, IsWrittenAsQuotedLinesUnderItsHeader) {
    const int language = GetParam();
    const auto bytes = ShellResource(CaptionResourceName(language));
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    const std::string text = DecodedResource(language);
    const std::string header = "\r\n[lang" + std::to_string(language) + "]\r\n";
    ASSERT_EQ(text.substr(0, header.size()), header);
    size_t lines = 0;
    for (size_t pos = header.size(); pos < text.size(); ++lines) {
        const size_t end = text.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << "last line without CRLF";
        const std::string line = text.substr(pos, end - pos);
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        ASSERT_GE(line.size(), 2u);
        EXPECT_EQ(line.front(), '"') << line;
        EXPECT_EQ(line.back(), '"') << line;
        EXPECT_EQ(line.find('"', 1), line.size() - 1) << line;
        pos = end + 2;
    }
    EXPECT_EQ(lines, kKeyCount);
}

TEST_P(ShippedCaptionTableTest, GivesEveryMappedKeyAText) {
    const CaptionTable table = Load(GetParam());
    for (const CaptionTarget& target : kCaptionTargets) {
        EXPECT_FALSE(table.Caption(target.key).empty()) << target.key << " " << target.control;
    }
    for (std::string_view key : kKeptCaptionKeys) {
        if (key != "Str105") {  // a message number no table has
            EXPECT_FALSE(table.Caption(key).empty()) << key;
        }
    }
    for (const DialogCaptionKeys& dialog : kDialogCaptionKeys) {
        for (std::string_view key : {dialog.title_key, dialog.confirm_key, dialog.clear_key}) {
            EXPECT_FALSE(table.Caption(key).empty()) << dialog.dialog << " " << key;
        }
    }
    EXPECT_FALSE(table.Caption(kMenuBulletKey).empty());
}

TEST_P(ShippedCaptionTableTest, GivesTheFlowMessagesATextNamingTheRuleWhereNeeded) {
    const CaptionTable table = Load(GetParam());
    for (const auto& keys : {std::span<const std::string_view>(kFlowMessageKeys),
                             std::span<const std::string_view>(kUserFileMessageKeys)}) {
        for (std::string_view key : keys) {
            EXPECT_FALSE(table.Caption(key).empty()) << key;
        }
    }
    EXPECT_NE(table.Caption("Str901").find(kUdevRuleFile), std::string::npos)
        << table.Caption("Str901");
    // A read that did not complete names the Read button as the way on; the settings shown as
    // defaults name the Apply button, which alone writes them.
    for (std::string_view key : {"Str900", "Str907"}) {
        EXPECT_NE(table.Caption(key).find(table.Caption(kReadButtonKey)), std::string::npos)
            << key << " " << table.Caption(key);
    }
    EXPECT_NE(table.Caption("Str908").find(table.Caption(kApplyButtonKey)), std::string::npos)
        << table.Caption("Str908");
}

TEST_P(ShippedCaptionTableTest, AgreesWithItsReadableSource) {
    const int language = GetParam();
    const std::string path = std::string(VELQ_TEST_DATA_DIR) + "/../../resources/shell-src/" +
                             CaptionResourceName(language) + ".txt";
    std::vector<uint8_t> source;
    FileResult read = ReadWholeFile(path, source);
    ASSERT_TRUE(read) << read.error;
    std::string crlf;
    for (uint8_t byte : source) {
        if (byte == '\n') {
            crlf += '\r';
        }
        crlf += static_cast<char>(byte);
    }
    const std::vector<uint8_t> expected = test::Utf16Le(crlf);
    const auto embedded = ShellResource(CaptionResourceName(language));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), embedded.begin(), embedded.end()))
        << "resources/shell/" << CaptionResourceName(language)
        << " is out of date: run tools/gen_caption_tables.py";
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedCaptionTableTest, ::testing::Values(1, 2, 3));

// Texts as stored, trailing blanks included; other parts of the program compare with them.
struct StoredText {
    int language;
    const char* key;
    const char* stored;
};

constexpr StoredText kStoredTexts[] = {
    {1, "FontName", "Calibri"},
    {1, "Title", "USB Gaming Mouse"},
    {1, "Str004", "Escritorio"},
    {1, "Str008", "Luz "},
    {1, "Str020", "Localizardo o dispositivo especificado"},
    {1, "Str100", "Por favor conecte o dispositivo USB"},
    {1, "Str101", "Verifique se o seu dispositivo esta conectado a porta USB "},
    {1, "Str102", "Error no tipo de arquivo BIN "},
    {1, "Str103", "Comprimento da bandeja de macro fora de intervalo "},
    {1, "Str104", "Falta de espaço de armazenamento"},
    {1, "Str106", "Essa mavro ja existe"},
    {1, "Str107", "Erro do fabricante do Mouse ou erro de identificaçao do produto "},
    {1, "Str108", "Mantenha uma tecla esquerda"},
    {1, "Str109", "Falhou "},
    {1, "Str200", "*"},
    {1, "Str210", "Clique esquerdo"},
    {1, "Str211", "Clique direito "},
    {1, "Str212", "Clique do meio"},
    {1, "Str213", "Botao"},
    {1, "Str214", "Frente"},
    {1, "Str220", "Chave de fogo"},
    {1, "Str221", "LED ON/OFF"},
    {1, "Str222", "Alvo"},
    {1, "Str223", "İnterruptor de pistola  Fn"},
    {1, "Str224", "İnterruptor Off"},
    {1, "Str225", "İnterruptor oe modo chave"},
    {1, "Str226", "Modo LED"},
    {1, "Str230", "DPI"},
    {1, "Str231", "Loop DPI"},
    {1, "Str232", "DPI +"},
    {1, "Str233", "DPI -"},
    {1, "Str240", "Meu computador "},
    {1, "Str241", "Calculadora"},
    {1, "Str242", "E-Mail"},
    {1, "Str243", "Area de Trabalho"},
    {1, "Str250", "Play/a Pausa"},
    {1, "Str251", "Pare"},
    {1, "Str252", "Faixa anterior"},
    {1, "Str253", "Faixa seguinte"},
    {1, "Str254", "Volume +"},
    {1, "Str255", "Volume -"},
    {1, "Str256", "Mudo"},
    {1, "Str260", "Casa"},
    {1, "Str261", "Procurar"},
    {1, "Str262", "Web Voltar"},
    {1, "Str263", "Encaminhamento da Web"},
    {1, "Str264", "Pare"},
    {1, "Str265", "Atualizar"},
    {1, "Str266", "Favoritos"},
    {1, "Str300", "500"},
    {1, "Str305", "2000"},
    {1, "Str311", "8000"},
    {1, "Str400", "Registro"},
    {1, "Str401", "Stop (pare)"},
    {1, "Str411", "Insert Delay Back"},
    {1, "Str417", "Delay Time"},
    {1, "Str500", "Chave de montagem"},
    {1, "Str510", "Nome da macro"},
    {1, "Str520", "Entrada de uma tecla "},
    {1, "Str521", "Tempo  de atraso de entrada"},
    {1, "Str523", "Valor de entrada"},
    {1, "Str600", "AKM"},
    {1, "Str601", "M16"},
    {1, "Str602", "M4"},
    {1, "Str603", "UMP9"},
    {1, "Str604", "SCAR-L"},
    {1, "Str605", "Fogo 5.56mm "},
    {1, "Str606", "Fogo 7.62mm"},
    {1, "Str700", "Pressione 'Middle Click' 3 seguntos para alternar entre o modo escritorio/jogo"},
    {1, "Str701", "Pressione  'DPI' 3 seg. Para alternar entre o modo escritorio/jogo"},
    {1, "Str702", "Pressionar a tecla Gun para alteirnar entre modo estritoro/jogo"},
    {1, "Str800", "Configuraçao da tecla de disparo"},
    {1, "Str801", "Repita (1-255)"},
    {1, "Str802", "İntervalo de disparo"},
    {1, "Str803", "Continualmente"},
    {1, "Str804", "Velocidade de movimento"},
    {1, "Str805", "Aumentar a precisao do ponteiro"},
    {1, "Str806", "Dupla velocidade de clique"},
    {1, "Str807", "Velocidade de rolamento"},
    {1, "Str808", "Rolar uma tela por vez "},
    {1, "Str813", "Habilitar"},
    {1, "Str814", "Desativar"},
    {1, "Str818", "TUDO"},
    {1, "Str819", "METADE"},
    {1, "Str821", "DPI"},
    {1, "Str822", "Multicolorido"},
    {1, "Str823", "Arco İris "},
    {1, "Str824", "Floe Light"},
    {1, "Str825", "Valsa"},
    {1, "Str826", "Quatro  estaçoes "},
    {1, "Str827", "Fora"},
    {1, "Str828", "Cor aleatoria 1"},
    {1, "Str829", "Cor aleatoria 2"},
    {1, "Str830", "Cor aleatoria 3"},
    {1, "Str831", "Cor DPI  1"},
    {1, "Str832", "Cor DPI  2"},
    {1, "Str833", "Cor DPI  3"},
    {1, "Str834", "Fora"},
    {1, "Str841", "Para ate a liberaçao da tecla "},
    {1, "Str842", "Parar apos o termino da macro "},
    {1, "Str859", "Wstaw liczbę pętli"},
    {1, "Str860", "Usuń makro"},
    {1, "Str861", "Nieskończona pętla"},
    {2, "FontName", "宋体"},
    {2, "Title", "游戏鼠标驱动"},
    {2, "Str000", "确认"},
    {2, "Str002", "恢复默认设置"},
    {2, "Str004", "办公模式"},
    {2, "Str005", "游戏模式"},
    {2, "Str011", "English"},
    {2, "Str012", "简体中文"},
    {2, "Str013", "繁体中文"},
    {2, "Str100", "是否已连接鼠标设备"},
    {2, "Str107", "滑鼠厂商编码或产品编码错误"},
    {2, "Str108", "请保留一个左键"},
    {2, "Str109", "烧录失败"},
    {2, "Str400", "开始记录"},
    {2, "Str401", "停止记录"},
    {3, "FontName", "宋体"},
    {3, "Title", "遊戲滑鼠驅動"},
    {3, "Str000", "確認"},
    {3, "Str002", "恢復默認設置"},
    {3, "Str004", "辦公模式"},
    {3, "Str005", "遊戲模式"},
    {3, "Str011", "English"},
    {3, "Str012", "簡體中文"},
    {3, "Str013", "繁體中文"},
    {3, "Str100", "是否已連接滑鼠設備"},
    {3, "Str107", "滑鼠廠商編碼或產品編碼錯誤"},
    {3, "Str108", "請保留一個左鍵"},
    {3, "Str109", "燒錄失敗"},
};

std::string TrimBlanks(std::string s) {
    while (!s.empty() && s.back() == ' ') {
        s.pop_back();
    }
    return s;
}

TEST(ShippedCaptionTextTest, StoresTextsExactlyAndReadsThemTrimmed) {
    const std::array<CaptionTable, 3> tables = {Load(1), Load(2), Load(3)};
    const std::array<std::string, 3> raw = {DecodedResource(1), DecodedResource(2),
                                            DecodedResource(3)};
    for (const StoredText& row : kStoredTexts) {
        const std::string line =
            "\r\n\"" + std::string(row.key) + "=" + std::string(row.stored) + "\"\r\n";
        EXPECT_NE(raw[row.language - 1].find(line), std::string::npos)
            << "lang" << row.language << " " << row.key;
        EXPECT_EQ(tables[row.language - 1].Caption(row.key), TrimBlanks(row.stored))
            << "lang" << row.language << " " << row.key;
    }
}

}  // namespace
}  // namespace velq
