// System controls registered again under the class names of Visual Basic's controls,
// which the skin recognises: a "ThunderRT6CheckBox" here is a Button with the system's
// own window procedure, as a VB check box is a button underneath.
#pragma once

#include <windows.h>

namespace quenlo::gallery {

inline constexpr char kVbFormClass[] = "ThunderRT6FormDC";
inline constexpr char kVbCommandButtonClass[] = "ThunderCommandButton";
inline constexpr char kVbCheckBoxClass[] = "ThunderRT6CheckBox";
inline constexpr char kVb5CheckBoxClass[] = "ThunderCheckBox";
inline constexpr char kVbOptionButtonClass[] = "ThunderRT6OptionButton";
inline constexpr char kVb5OptionButtonClass[] = "ThunderOptionButton";
inline constexpr char kVbComboBoxClass[] = "ThunderRT6ComboBox";
inline constexpr char kVbDriveListClass[] = "ThunderRT6DriveListBox";
inline constexpr char kVbHeaderClass[] = "msvb_lib_header";
inline constexpr char kVbProgressBarClass[] = "ProgressBar20WndClass";
inline constexpr char kVb5ProgressBarClass[] = "ProgressBarWndClass";
inline constexpr char kVbDataListClass[] = "DataListWndClass";
inline constexpr char kVbDbListClass[] = "DBListWndClass";
inline constexpr char kVbGridClass[] = "ApexGridOleDB32";

// Registers every look-alike once per process (the common controls included);
// false when one of them could not be registered.
bool RegisterLookAlikeClasses(HINSTANCE instance);

}  // namespace quenlo::gallery
