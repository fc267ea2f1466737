#pragma once

#include <vector>

#include "device/clock.h"
#include "device/command_protocol.h"
#include "device/device_link.h"
#include "flows/device_cycle.h"
#include "flows/flow_host.h"
#include "flows/flow_state.h"

namespace velq {

// The flows that move the configuration between the mouse, the image and the pages when the
// configuration lives in the mouse: read, Apply, Confirm, the resets, the verified whole-image
// write, the fire area read and the profile files. Each runs inside one frame: the device timer
// stopped, the pages covered and the loading window shown while it talks to the mouse.
class EepromFlows {
public:
    EepromFlows(DeviceLink& link, CommandProtocol& protocol, Clock& clock, FlowHost& host,
                FlowState& state);

    void SetExpectedCodes(DeviceCodes first, DeviceCodes second);
    // The identification that the profile save runs before it reads the whole mouse.
    void SetDeviceCycle(DeviceCycle* cycle) { cycle_ = cycle; }

    // `Btn_Read`: the read after a successful identification (the transaction is open). True
    // when every chunk was answered and the pages show the mouse; on failure nothing counts as
    // read and the pages stay covered (the caller tells the user).
    bool BtnRead(bool full);
    // `Btn_Apply_0Click`, `Btn_Confirm_0Click`.
    void BtnApplyClick();
    void BtnConfirmClick();
    // `Btn_Confirm1_1Click` .. `Btn_Confirm3_1Click` (images 0..2) and `Btn_DefaultClick`.
    void BtnResetClick(int image);
    void BtnDefaultClick();
    // `btn_loadDefaultCPI` (image 3) and `btn_loadDefaultLED` (image 4).
    void BtnLoadDefaultClick(int image);
    // `DownloadParameter`: Apply in EEPROM mode; true when the mouse took everything.
    bool DownloadParameter();
    // `TLDefaultParameter`: writes built-in image 0..4 into the mouse, verified; true when it
    // is verified.
    bool TLDefaultParameter(int image);
    // `MemoToDataBuf_OnClick`: the whole image into the mouse, verified, and onto the pages;
    // true when verified. Every failure is said.
    bool MemoToDataBufOnClick();
    // `ReadFireArea`; true when the fire area was read.
    bool ReadFireArea();
    // `UIToDataBuf`: the pages into the configuration, and the changed fields into the
    // section copies. `DataBufToUI`: the section copies decoded and shown on every page.
    void UIToDataBuf();
    void DataBufToUI();
    // `Btn_Save_0Click`, `Btn_Load_0Click`.
    void BtnSaveClick();
    void BtnLoadClick();

private:
    void FrameBegin();
    void FrameEnd(bool uncover);
    void ButtonPause();
    // The pause of a writing button, then the checks before it may write: a mouse, and pages
    // that show what it holds. False (and said) when it may not.
    bool ReadyToWrite();
    // `CheckWritable`'s prologue: Open and Status acknowledged with the signature.
    bool OpenTransaction(StatusAnswer& status);
    void CloseTransaction();
    // Fills the section copies from the image, checked; true when a section was repaired.
    bool FillFromDataBuf();
    bool ReadSlotNames();
    // Writes the fire area (when it is this mouse's) and the macro slots buttons play that the
    // mouse does not hold yet, adding each block to `written`; false when a block was refused.
    bool WriteFireAreaAndMacros(std::vector<SectionRange>& written);
    void ShowMessage(const char* key, UserMessage::Box box = UserMessage::Box::kMessageWindow,
                     std::string detail = {});

    DeviceLink& link_;
    CommandProtocol& protocol_;
    Clock& clock_;
    FlowHost& host_;
    FlowState& state_;
    std::array<DeviceCodes, 2> expected_{};
    DeviceCycle* cycle_ = nullptr;
};

}  // namespace velq
