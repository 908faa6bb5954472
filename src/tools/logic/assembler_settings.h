// What the assembler settings window decides: the values it shows, which tool file it accepts,
// whether anything changed, and what closing it stores or puts back. The window shows the fields
// and forwards each edit here.
#pragma once

#include "core/assembler_defaults.h"

#include <QString>

namespace tavrin {

struct Session;
class SettingsStore;

struct AssemblerSettingsFields {
    QString toolPath;                // txtAsmPath
    QString options;                 // txtAsmOption
    QString errorExtension;          // Text_After_File
    bool openWithNotepad = true;     // Option_Notopad
    bool openWithAssociated = false; // Option_Editer
    bool ccscDeviceInfo = false;     // Check_ccsc_device_info
    bool displayInformation = false; // Chk_asm_option_Display
};

class AssemblerSettings {
  public:
    AssemblerSettings(Session& s, SettingsStore& settings, ExecutableFinder finder = {});

    // Form_Load. Filling the fields is not a change. With no tool saved, the assembler found on
    // the PATH (the one a run uses then) is offered as if chosen, so that closing with OK keeps
    // it; a tool chosen in an earlier opening and not saved stays shown instead.
    void load();
    const AssemblerSettingsFields& fields() const { return fields_; }
    bool changed() const { return changed_; }

    // The folder the file dialog starts in.
    QString toolFolder() const;
    // cmdOpenAsm_Click with the file chosen: an ".exe" (any case) or an executable file becomes
    // the tool at once; anything else is refused (false) and changes nothing, edits made before
    // included.
    bool chooseTool(const QString& path);

    // The change markers.
    void editOptions(const QString& text);
    void editErrorExtension(const QString& text);
    void chooseNotepad();
    void chooseAssociatedApplication();
    void setCcscDeviceInfo(bool ticked);
    void setDisplayInformation(bool ticked);

    // OKButton_Click: stores what changed, else puts the tool back.
    void ok();
    // CancelButton_Click: puts the tool back, stores nothing.
    void cancel();

  private:
    Session& s_;
    SettingsStore& settings_;
    ExecutableFinder finder_;
    AssemblerSettingsFields fields_;
    QString TP_AsmFilePath;
    bool changed_ = false;
    bool toolAccepted_ = false; // a tool was accepted (or offered) in this opening
};

} // namespace tavrin
