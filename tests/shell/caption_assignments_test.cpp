#include "shell/caption_assignments.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "caption_test_util.h"
#include "shell/caption_table.h"

namespace velq {
namespace {

using test::FakeCaptions;

CaptionTable Lang1() {
    CaptionTableResult result = LoadCaptionTable(1);
    EXPECT_TRUE(result) << result.error;
    return result.table;
}

std::map<std::string, std::string> CaptionsByControl(const std::vector<CaptionAssignment>& all) {
    std::map<std::string, std::string> out;
    for (const CaptionAssignment& a : all) {
        if (a.use != CaptionUse::kListItem) {
            out[std::string(a.control)] = a.text;
        }
    }
    return out;
}

TEST(CaptionAssignmentsTest, PutsEachKeysTextOnItsControls) {
    const auto captions = CaptionsByControl(BuildCaptionAssignments(Lang1()));
    const std::pair<const char*, const char*> cases[] = {
        {"Btn_Breath_1", "Luz"},
        {"Btn_Breath_4", "Luz"},
        {"Btn_Main_3", "Escritorio"},
        {"Btn_Confirm1_2", "Restaurar padrão"},
        {"Key_Left", " * Clique esquerdo"},
        {"Key_Stop", " * Pare"},
        {"Key_WWWStop", " * Pare"},
        {"Key_CPIKey", " * DPI"},
        {"Key_FireMacro", " * Macro de disparo"},
        {"Key_TLFireMacro", " * Macro de disparo"},
        {"Btn_Start", "Registro"},
        {"Btn_InsertStart", "Registro"},
        {"lbl_Delay", "Delay Time"},
        {"lbl_LEDOn", "Habilitar"},
        {"lbl_LCPIOn", "Habilitar"},
        {"lbl_B4CPIOn", "Habilitar"},
        {"lbl_B4CPIOff", "Desativar"},
        {"lbl_MCULEDMode1", "DPI"},
        {"IB_ComboKey1",
         "Pressione 'Middle Click' 3 seguntos para alternar entre o modo escritorio/jogo"},
        {"IB_CircleTimes", "Wstaw liczbę pętli"},
        {"Btn_Delete", "Usuń makro"},
        {"IB_CircleAll", "Nieskończona pętla"},
    };
    for (const auto& [control, text] : cases) {
        ASSERT_TRUE(captions.count(control)) << control;
        EXPECT_EQ(captions.at(control), text) << control;
    }
}

TEST(CaptionAssignmentsTest, FillsTheInsertListInItsOrder) {
    std::vector<std::string> items;
    for (const CaptionAssignment& a : BuildCaptionAssignments(Lang1())) {
        if (a.use == CaptionUse::kListItem) {
            EXPECT_EQ(a.control, "CB_Insert");
            EXPECT_EQ(a.item, items.size());
            items.push_back(a.text);
        }
    }
    const std::vector<std::string> expected = {
        "Inserir atraso antes",      "Insert Delay Back",          "Gravar teclas antes",
        "Gravar teclas depois",      "Inserir movimento X antes",  "Inserir movimento X depois",
        "Inserir movimento Y antes", "Inserir movimento Y depois",
    };
    EXPECT_EQ(items, expected);
}

// A control named twice would take whichever caption came last; each has one key.
TEST(CaptionAssignmentsTest, NamesEveryControlOnce) {
    std::set<std::string_view> controls;
    for (const CaptionTarget& target : kCaptionTargets) {
        if (target.use != CaptionUse::kListItem) {
            EXPECT_TRUE(controls.insert(target.control).second) << target.control;
        }
    }
    for (std::string_view family :
         {"Btn_Confirm_", "Btn_Apply_", "Btn_Read_", "Btn_Confirm1_", "Btn_Confirm2_",
          "Btn_Confirm3_", "Btn_Main_", "Btn_Second_", "Btn_Adv_", "Btn_Breath_", "Btn_Save_",
          "Btn_Load_", "Btn_Lang1_", "Btn_Lang2_", "Btn_Lang3_", "Btn_Macro_"}) {
        for (char copy : {'1', '2', '3', '4'}) {
            EXPECT_TRUE(controls.count(std::string(family) + copy)) << family << copy;
        }
    }
}

TEST(CaptionAssignmentsTest, MissingKeyGivesAnEmptyCaption) {
    const FakeCaptions table{{"Str200", "-"}, {"Str210", "Left"}};
    const auto captions = CaptionsByControl(BuildCaptionAssignments(table));
    EXPECT_EQ(captions.at("Btn_Apply_1"), "");
    EXPECT_EQ(captions.at("Key_Left"), " - Left");
    EXPECT_EQ(captions.at("Key_Right"), " - ");
}

TEST(KeptCaptionsTest, KeepsTheTextsOfTheAppliedTable) {
    KeptCaptions kept;
    {
        const CaptionTable table = Lang1();
        kept = KeptCaptions(table);
    }
    EXPECT_EQ(kept.Text("Str210"), "Clique esquerdo");
    EXPECT_EQ(kept.Text("Str220"), "Chave de fogo");
    EXPECT_EQ(kept.Text("Str222"), "Alvo");
    EXPECT_EQ(kept.Text("Str109"), "Falhou");
    EXPECT_EQ(kept.Text("Str311"), "8000");
    EXPECT_EQ(kept.Text("Str606"), "Fogo 7.62mm");
    EXPECT_EQ(kept.Text("Str105"), "");  // kept, but in no table
    EXPECT_EQ(kept.Text("Str001"), "");  // a caption, not a kept text
}

}  // namespace
}  // namespace velq
