#!/usr/bin/env python3
"""Writes the embedded program settings and layout texts of the shell.

resources/shell/org          [org]  program settings
resources/shell/org1..org3   [orgN] layouts of languages 1..3

All positions come from one grid (see DESIGN below), so the three layouts stay aligned; the
languages differ only where the texts must: language buttons, shown button slots, font sizes,
menu colours and menu widths. The files are 8-bit text with CRLF line ends.

    tools/gen_layout_texts.py          regenerate the four files
    tools/gen_layout_texts.py --check  exit 1 when a file is out of date
"""
import pathlib
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
TARGET_DIR = ROOT / "resources" / "shell"

# Out of sight: far right of and below the 1030 x 662 window.
PARKED = 9000
PARKED_FRAME = 9640

DESIGN = """\
; Design grid of this layout (window 1030 x 662, engineering page 1000 x 600):
;  - 10 px base grid, 20 px margins; positions are relative to the control's parent
;    (the page, which covers the window; the group box for Gb_Delay and Gb_Insert children).
;  - left rail x=24: page tabs 110 x 29 every 40 px from y=100; profile buttons at 320/360;
;    language buttons at 420/460/500.
;  - bottom bar y=612: Read 530, Apply 650, Default 770, Confirm 890 (pitch 120);
;    Minimize 960 and Exit 990 at y=16.
;  - content area x=190..990 from y=84: page pictures 800 x 374 at (190, 84); the office and
;    gaming picture 600 x 400 at (290, 84); the fire picture 720 x 650 at (155, 6).
;  - rows: button slots every 50 px, DPI levels every 34 px, light options every 34 px,
;    fire slot rows every 40 px; option captions start 4 px left of and 2 px above their picture.
;  - controls kept for other models are parked at x=9000 (steps, key-mode pair, NorLED).
"""

# Palette (R, G, B).
TEXT = (230, 230, 230)
HEADING = (255, 176, 48)
DIM = (128, 128, 128)
PANEL = (32, 32, 38)
BORDER = (96, 96, 104)
ACCENT = (200, 40, 40)
WHITE = (255, 255, 255)
EDIT_BACK = (18, 18, 22)


class Text:
    def __init__(self, section):
        self.lines = []
        self.section = section

    def comment(self, text):
        for line in text.rstrip("\n").split("\n"):
            self.lines.append(line)

    def key(self, name, value):
        self.lines.append(f"{name}={value}")

    def pos(self, stem, x, y):
        self.key(stem + "_X", x)
        self.key(stem + "_Y", y)

    def rgb(self, stem, colour):
        for part, value in zip("RGB", colour):
            self.key(stem + part, value)

    def render(self):
        return "".join(line + "\r\n" for line in self.lines).encode("ascii")


# ----------------------------------------------------------------------------------------------
# [org]

def org_text():
    t = Text("org")
    t.comment("// VELQ540B program settings")
    t.comment("// Enable keys: (-1:Enable  -0:Disable)")
    t.comment("[org]")
    t.comment("; Web button: open the web address when pressed (-1:Enable  -0:Disable)")
    t.key("Web_Enable", 0)
    t.key("Web", "https://velq540b.example.org")
    t.comment("; Web button position (parked out of sight)")
    t.key("Web_X", 410)
    t.key("Web_Y", 9550)
    t.comment("; Second accepted manufacturer and product ID bytes (0 = none)")
    t.key("Rev_Manu_ID", 0)
    t.key("Rev_Pro_ID", 0)
    t.comment("; Macro file folder, ending with a separator; empty = the program's folder")
    t.key("Path", "")
    t.comment("; Scrolling caption under the pointer (-1:Enable  -0:Disable)")
    t.key("TR_Enable", 0)
    t.comment("; Gun display: fire macro entry and gun combo key (-1:Enable  -0:Disable)")
    t.key("GD_Enable", 0)
    t.comment("; Height of the function menu with and without the gun entry")
    t.key("Main_Pnl_Height_With_Gun", 195)
    t.key("Main_Pnl_Height_WithNo_Gun", 165)
    t.comment("; Lamp and step bars: 1 = only the current segment lit, 0 = segments up to it")
    t.key("DPILED_Status", 1)
    t.comment("; Fire macro slots of gun 6 (1..2) and gun 7 (1..3)")
    t.key("Gun6_Num", 2)
    t.key("Gun7_Num", 3)
    t.comment("; Lamp numbers: 0 = 1 to 10 from the left, 1 = 10 to 1")
    t.key("Num_Order", 0)
    t.comment("; 0 EEPROM, 1 Driver, 2 EEPROM+Driver")
    t.key("Ap_Mode", 0)
    t.comment("; DPI steps offered by the sliders (11 or 12)")
    t.key("DPI_Count", 12)
    t.comment("; Special function menu entries, in menu order")
    t.key("Special_Config",
          "Key_CPIKey,Key_Fire,Key_AIMKey,Key_LEDMode,Key_LEDSwitch,Key_KeyMode,Key_KeyOff")
    return t.render()


# ----------------------------------------------------------------------------------------------
# [org1] .. [org3]

def variant(language):
    """What differs between the layouts of the languages."""
    chinese = language != 1
    return {
        "languages": 0 if language == 1 else 1,
        # Language 1 shows button slots 7 and 8 where the others show slot 6.
        "slots": {1, 2, 3, 4, 5, 7, 8} if language == 1 else {1, 2, 3, 4, 5, 6},
        "size_a": 11 if chinese else 10,
        "size_b": 11 if chinese else 10,
        "size_c": 10 if chinese else 9,
        "size_g": 10 if chinese else 9,
        "size_label": 10 if chinese else 9,
        "size_heading": 11 if chinese else 10,
        "menu_back": (36, 36, 44) if chinese else PANEL,
        "menu_selected": (180, 30, 30) if chinese else ACCENT,
        "menu_widths": (160, 150, 150) if chinese else (180, 170, 170),
    }


def frame(t, v):
    t.comment("; ---- Frame buttons (all four pages): font, then A1..A8")
    t.key("Size_A", v["size_a"])
    t.rgb("Color_A_", TEXT)
    a_buttons = {  # number: (enabled, x, y)
        1: (1, 890, 612),   # Confirm
        2: (1, 650, 612),   # Apply
        3: (1, 770, 612),   # Default set 1
        4: (1, 990, 16),    # Exit
        5: (0, PARKED_FRAME, PARKED_FRAME),  # Default set 2
        6: (0, PARKED_FRAME, PARKED_FRAME),  # Default set 3
        7: (1, 960, 16),    # Minimize
        8: (1, 530, 612),   # Read
    }
    for n in range(1, 9):
        enabled, x, y = a_buttons[n]
        t.key(f"Btn_A{n}_Enable", enabled)
        t.pos(f"Btn_A{n}", x, y)

    t.comment("; ---- Page tabs, profile and language buttons: font, label inset, B1..B12")
    t.key("Size_B", v["size_b"])
    t.rgb("Color_B_", TEXT)
    t.key("Btn_Space_F", 6)
    t.key("Btn_Space_B", 6)
    lang = v["languages"]
    b_buttons = [  # number, enabled, y on the left rail
        (1, 1, 100), (2, 1, 140), (4, 1, 180), (5, 1, 220), (6, 1, 320), (7, 1, 360),
        (8, lang, 420), (9, lang, 460), (10, lang, 500), (11, 1, 260),
    ]
    for n, enabled, y in b_buttons:
        t.key(f"Btn_B{n}_Enable", enabled)
        t.pos(f"Btn_B{n}", 24, y)
    t.comment("; B12 (combined advanced and light page) is not used by this layout")
    t.key("Btn_B12_Enable", 0)
    t.pos("Btn_B12", PARKED_FRAME, PARKED_FRAME)


def main_page(t, v):
    t.comment("; ---- Office and gaming page: slot font, page picture, slots Key1..Key9")
    t.key("Size_C", v["size_c"])
    t.rgb("Color_C_", TEXT)
    t.pos("P1", 290, 84)
    left, right = 310, 700
    slots = {1: (left, 124), 2: (right, 124), 3: (left, 174), 4: (right, 174),
             5: (left, 224), 6: (right, 224), 7: (right, 224), 8: (left, 274),
             9: (right, 274)}
    for n in range(1, 10):
        x, y = slots[n]
        t.key(f"Key{n}_Enable", 1 if n in v["slots"] else 0)
        t.pos(f"Key{n}", x, y)
    t.key("Key_Width", 170)

    t.comment("; ---- Combo key options under the page picture (rows 30 px apart)")
    for n in range(1, 4):
        t.key(f"ComboKey{n}_Enable", 1)
        t.pos(f"ComboKey{n}", 310, 470 + 30 * (n - 1))
    t.key("ComboKey_D", 28)
    t.key("ComboKey_H", 1)
    t.key("Combox_Width", 560)
    t.comment("; kept for older layouts, not used")
    for n in range(1, 4):
        stem = f"ComboKey{n}_Lable_"
        t.pos(stem[:-1], 338, 471 + 30 * (n - 1))
        t.rgb(stem, TEXT)
        t.key(stem + "Size", v["size_label"])
        t.key(stem + "Width", 560)


def menu(t, v):
    t.comment("; ---- Function menu: font, colours, widths of main / special / other menus")
    t.key("Size_G", v["size_g"])
    t.rgb("Color_G_", TEXT)
    t.rgb("Color_G_Back_", v["menu_back"])
    t.rgb("Color_G_Border_", BORDER)
    t.rgb("Color_G_SF_", WHITE)
    t.rgb("Color_G_SP_", v["menu_selected"])
    main_w, special_w, other_w = v["menu_widths"]
    t.key("M_L_W", main_w)
    t.key("SP_L_W", special_w)
    t.key("O_L_W", other_w)


def advanced_page(t, v):
    t.comment("; ---- Advanced page: DPI levels left (x=210..620), fire key and pointer right")
    t.key("Size_D", 9)
    t.rgb("Color_D_Selected_", WHITE)
    t.rgb("Color_D_notSelected_", DIM)
    t.rgb("Color_D_Back_", EDIT_BACK)
    t.rgb("Color_D_Border_", BORDER)
    t.pos("P2", 190, 84)
    t.pos("FKCnt", 860, 124)
    t.pos("FKDelay", 860, 154)
    t.pos("IsFireContinue", 668, 188)
    t.pos("Spd", 660, 244)
    t.key("Spd_D", 22)
    t.pos("DbSpd", 660, 350)
    t.key("DbSpd_D", 22)
    t.pos("ScrSpd", 660, 424)
    t.key("ScrSpd_D", 22)
    t.pos("IsControl", 668, 298)
    t.pos("IsScreen", 668, 478)
    for n in range(1, 8):
        y = 126 + 34 * (n - 1)
        t.pos(f"DPI{n}_Color", 600, y + 1)
        t.pos(f"DPI{n}_Check", 280, y + 1)
        t.pos(f"DPI{n}", 210, y)
        t.pos(f"DPI{n}_Value", 545, y)
        t.pos(f"DPI{n}_Steps", 310, y - 3)
        t.key(f"DPI{n}_Steps_D", 18)
    t.pos("DPI_Count", 420, 92)
    t.key("DPI_Count_Visible", 1)
    t.pos("AIMKey", 210, 374)
    t.pos("AIMKey_Value", 545, 374)
    t.pos("AIMKey_Steps", 310, 371)
    t.key("AIMKey_Steps_D", 18)
    t.rgb("Color_BG_Slider_", PANEL)


def light_page(t, v):
    t.comment("; ---- Light page: row captions x=210, options at x=404 / 524, rows 34 px apart")
    t.key("Size_E", 8)
    t.rgb("Color_E_", TEXT)
    t.pos("P3", 190, 84)
    rows = [("LEDOn", "LEDOff"), ("B4CPIOn", "B4CPIOff"), ("LEDSwitchOn", "LEDSwitchOff")]
    for i, (on, off) in enumerate(rows):
        y = 106 + 34 * i
        t.pos(on, 404, y)
        t.pos(off, 524, y)
    t.comment("; the key-mode pair is not offered on this page")
    t.pos("SaveKeyMode", PARKED, PARKED)
    t.pos("NoSaveKeyMode", PARKED, PARKED + 40)
    t.pos("LED3Control", 404, 208)
    t.pos("LED6Control", 524, 208)
    for n in range(1, 8):
        x, y = mode_place(n)
        t.pos(f"MCULEDMode{n}", x, y)
    t.pos("MCULEDNum", 404, 410)
    t.key("MCULEDNum_D", 4)
    t.pos("MCULEDStep", 456, 368)
    t.key("MCULEDStep_D", 4)
    for n in range(1, 8):
        x, y = mode_place(n)
        t.pos(f"RBLEDMode{n}", x, y)
    t.comment("; kept for older layouts, not used")
    t.key("Size_M", 9)
    t.rgb("Color_M_", TEXT)
    for name in ("Tte", "On", "Off", "Cfm", "Close"):
        t.pos(f"NorLED_{name}", PARKED, PARKED)


def mode_place(n):
    """Picture place of light mode entry n: two rows of four, 120 px apart."""
    column, row = (n - 1) % 4, (n - 1) // 4
    return 404 + 120 * column, 272 + 30 * row


def macro_page(t, v):
    t.comment("; ---- Macro page: list x=210, events x=450, delay / insert group x=770")
    t.key("Size_F", 9)
    t.rgb("Color_F_", TEXT)
    t.rgb("Color_F_LBack_", EDIT_BACK)
    t.rgb("Color_F_LBorder_", BORDER)
    t.rgb("Color_F_Font_", TEXT)
    t.rgb("Color_F_Back_", PANEL)
    t.pos("P4", 190, 84)
    t.pos("PCMacroName", 210, 120)
    t.key("PCMacroName_H", 320)
    t.key("PCMacroName_W", 220)
    t.key("MacroNameHeight", 20)
    t.pos("MacroContent", 450, 120)
    t.key("MacroContent_W", 300)
    t.pos("BtnNew", 210, 452)
    t.pos("BtnStart", 450, 432)
    t.pos("BtnDelete", 330, 452)
    t.comment("; delay group at (770, 116); its options are placed inside it")
    t.pos("DelayTime", 770, 116)
    t.pos("RecDelay", 12, 30)
    t.key("RecDelay_H", 30)
    t.pos("DelaySetting", 12, 60)
    t.pos("NoDelay", 12, 90)
    t.pos("DelayEdit", 124, 58)
    t.pos("CircleEdit", 920, 322)
    t.pos("ReleaseStop", 776, 256)
    t.pos("ReleaseContinue", 776, 286)
    t.pos("CircleTimes", 776, 326)
    t.pos("CircleAll", 776, 356)
    t.comment("; insert group in the delay group's place; its fields are placed inside it")
    t.pos("Insert", 770, 116)
    t.pos("InsertList", 20, 20)
    t.pos("InsertRecDelay", 22, 50)
    t.key("InsertRecDelay_H", 22)
    t.pos("InsertDelayEdit", 96, 120)
    t.pos("InsertAxisEdit", 96, 120)
    t.pos("InsertBtnStart", 20, 144)
    t.pos("InsertBtnOK", 82, 144)
    t.pos("InsertBtnCancel", 144, 144)
    t.rgb("Color_MACRO_", ACCENT)
    t.key("Edit_PCMarco_Width", 120)


def fire_page(t, v):
    t.comment("; ---- Fire page: guns x=180 every 74 px, slot rows every 40 px from y=166")
    t.key("Size_J", 9)
    t.rgb("Color_J_Font_", TEXT)
    t.rgb("Color_J_Back_", EDIT_BACK)
    t.rgb("Color_J_Border_", BORDER)
    t.comment("; kept for older layouts, not used")
    t.rgb("Color_J_", TEXT)
    t.pos("P5", 155, 6)
    for n in range(1, 8):
        t.pos(f"Fire{n}", 180, 40 + 74 * (n - 1))
    # Slot indicators, centred on y=66: gun 6 uses 1-2, gun 7 uses 3-5 in the same place.
    indicators = {1: (340, 45), 2: (392, 40), 3: (340, 45), 4: (392, 40), 5: (454, 35)}
    for n in range(1, 6):
        t.pos(f"GunMode{n}", *indicators[n])
    rows = [166 + 40 * (k - 1) for k in range(1, 4)]
    for k, y in enumerate(rows, 1):
        t.pos(f"RKFS{k}", 350, y + 2)
    for stem, x in (("FireCnt", 420), ("FireX", 500), ("FireY", 580)):
        for k, y in enumerate(rows, 1):
            t.pos(f"{stem}{k}", x, y)
    for k, y in enumerate(rows, 1):
        t.pos(f"FireY{k}_Offset", 660, y)
    for k, y in enumerate(rows, 1):
        t.pos(f"FireTime{k}", 740, y)
    for k, y in enumerate(rows, 1):
        t.pos(f"FireColor{k}", 840, y + 2)
    t.pos("FireConfirm", 600, 590)
    t.pos("FireCancel", 730, 590)


def dialogs(t, v):
    t.comment("; ---- Editor dialogs (window 1000 x 660): key combination, then the others")
    t.key("Size_K", 12)
    t.rgb("Color_K_", TEXT)
    t.rgb("Color_K_AK_", HEADING)
    t.pos("AKT", 420, 220)
    t.pos("AKC", 390, 270)
    t.key("AKC_W", 220)
    for i, name in enumerate(("C", "S", "A", "W")):
        t.pos(f"MK_{name}", 390 + 60 * i, 320)
    t.pos("AK_Cfm", 390, 380)
    t.pos("AK_Clear", 500, 380)
    t.pos("AK_Close", 960, 20)
    t.key("Size_L", 12)
    t.rgb("Color_L_", TEXT)
    t.rgb("Color_L_MN_", HEADING)
    t.pos("MNT", 420, 230)
    t.pos("MNC", 390, 280)
    t.key("MNC_W", 220)
    t.pos("MN_Cfm", 390, 360)
    t.pos("MN_Clear", 500, 360)
    t.pos("MN_Close", 960, 20)


def label(t, v, prefix, x, y, width, colour=TEXT, heading=False, wrap=None):
    stem = prefix + "_Lable_"
    t.pos(stem[:-1], x, y)
    t.rgb(stem, colour)
    t.key(stem + "Size", v["size_heading"] if heading else v["size_label"])
    t.key(stem + "Width", width)
    if wrap is not None:
        t.key(stem + "Wrap", wrap)


def labels(t, v):
    t.comment("; ---- Caption labels: position, colour, size, width")
    t.comment("; advanced page")
    label(t, v, "Fire_Key", 660, 96, 300, HEADING, heading=True)
    label(t, v, "Fire_Key_Count", 660, 126, 180)
    label(t, v, "Fire_Key_Time", 660, 156, 180)
    label(t, v, "Fire_Key_Continue", 694, 188, 260)
    label(t, v, "Mouse_Speed", 660, 224, 300, HEADING, heading=True)
    label(t, v, "Mouse_IsControl", 694, 298, 260)
    label(t, v, "Mouse_Double_Click", 660, 330, 300, HEADING, heading=True)
    label(t, v, "Mouse_Roller_Speed", 660, 404, 300, HEADING, heading=True)
    label(t, v, "Mouse_Roll_All_Screen", 694, 478, 260)
    label(t, v, "DPI_Setting", 210, 96, 200, HEADING, heading=True)
    t.rgb("DPI_Lable_", TEXT)
    t.key("DPI_Lable_Size", v["size_label"])
    t.key("DPI_Lable_Width", 60)
    label(t, v, "DPI_Value", 545, 96, 60)
    label(t, v, "DPI_Note", 210, 408, 420, DIM)
    t.comment("; light page: option captions start 4 px left of and 2 px above their picture")
    label(t, v, "LED_Status", 210, 104, 170, HEADING, heading=True)
    label(t, v, "LED_On", 400, 104, 110)
    label(t, v, "LED_Off", 520, 104, 110)
    label(t, v, "LCPI_Status", 210, 172, 170, HEADING, heading=True)
    label(t, v, "LCPI_On", 400, 172, 110)
    label(t, v, "LCPI_Off", 520, 172, 110)
    label(t, v, "MCPI_Status", 210, 138, 170, HEADING, heading=True)
    label(t, v, "MCPI_On", 400, 138, 110)
    label(t, v, "MCPI_Off", 520, 138, 110)
    label(t, v, "LED_Light_Status", 210, 206, 170, HEADING, heading=True)
    t.comment("; these two captions belong to the key-mode pair, which this page does not offer")
    label(t, v, "LED_Light_All", PARKED, PARKED, 110)
    label(t, v, "LED_Light_Half", PARKED, PARKED + 40, 110)
    label(t, v, "LED_Mode", 210, 240, 170, HEADING, heading=True)
    t.rgb("LED_Mode_Option_Lable_", TEXT)
    t.key("LED_Mode_Option_Lable_Size", v["size_label"])
    for n in range(1, 8):
        x, y = mode_place(n)
        t.pos(f"LED_Mode_{n}_Lable", x - 4, y - 2)
        t.key(f"LED_Mode_{n}_Lable_Width", 112)
    label(t, v, "LED_Effect_Setting", 210, 340, 170, HEADING, heading=True)
    label(t, v, "LED_Effect_Slow", 400, 372, 50)
    label(t, v, "LED_Effect_Fast", 690, 372, 50)
    t.rgb("LED_Step_Option_Lable_", TEXT)
    t.key("LED_Step_Option_Lable_Size", 8)
    for k in range(1, 9):
        t.pos(f"LED_Step_{k}_Lable", PARKED, 392)
        t.key(f"LED_Step_{k}_Lable_Width", 26)
    t.comment("; macro page (delay captions inside the delay group)")
    label(t, v, "Marco_List", 210, 96, 220, HEADING, heading=True)
    label(t, v, "Marco_Content", 456, 96, 280, HEADING, heading=True)
    label(t, v, "Marco_Options", 776, 96, 160, HEADING, heading=True)
    label(t, v, "Marco_Record_Delay", 10, 30, 190)
    label(t, v, "Marco_Delay_Setting", 10, 60, 110)
    label(t, v, "Marco_No_Delay", 10, 90, 190)
    label(t, v, "Marco_MS", 178, 60, 30)
    label(t, v, "Marco_Stop_Release", 774, 286, 210, wrap=0)
    label(t, v, "Marco_Stop_Over", 774, 256, 210, wrap=0)
    label(t, v, "Marco_Circle_Times", 774, 326, 140)
    label(t, v, "Marco_Circle_ALL", 774, 356, 210)
    t.comment("; fire page: column captions over the slot rows")
    label(t, v, "Gun_List", 176, 15, 110, HEADING, heading=True)
    label(t, v, "Gun_Name", 343, 15, 400, HEADING, heading=True)
    label(t, v, "Gun_Marco_Stop_Release", 330, 130, 80)
    label(t, v, "Gun_Marco_Fire_Count", 420, 130, 76)
    label(t, v, "Gun_Marco_Fire_X", 500, 130, 76)
    label(t, v, "Gun_Marco_Fire_Y", 580, 130, 76)
    label(t, v, "Gun_Marco_Y_Offset", 660, 130, 76)
    label(t, v, "Gun_Marco_Fire_Delay", 740, 130, 76)
    label(t, v, "Gun_Marco_Fire_Color", 820, 130, 76)


def layout_text(language):
    v = variant(language)
    t = Text(f"org{language}")
    t.comment(f"// VELQ540B layout of language {language}")
    t.comment("// Enable keys: (-1:Enable  -0:Disable)")
    t.comment(f"[org{language}]")
    t.comment(DESIGN)
    frame(t, v)
    main_page(t, v)
    menu(t, v)
    advanced_page(t, v)
    light_page(t, v)
    macro_page(t, v)
    fire_page(t, v)
    dialogs(t, v)
    labels(t, v)
    t.comment("; height of the macro event list")
    t.key("MacroContent_H", 300)
    return t.render()


def main() -> int:
    check = "--check" in sys.argv[1:]
    outputs = {"org": org_text()}
    for language in (1, 2, 3):
        outputs[f"org{language}"] = layout_text(language)
    stale = []
    for name, data in outputs.items():
        path = TARGET_DIR / name
        if check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(name)
        else:
            path.write_bytes(data)
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
