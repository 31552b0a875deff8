#pragma once
// The access key a caption marks with "&", as the hotkey box asks of its
// window's controls.
namespace launcher {

// "&Save": 'S', as an upper-case letter or a digit; 0 for none ("&&" is an
// ampersand).
wchar_t AccessKey(const wchar_t* caption);

}  // namespace launcher
