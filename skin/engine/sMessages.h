// The skin command message: its number, command codes, parameter layout, the answers that survive SendMessage,
// the extra forms and the ways a command is delivered.
#pragma once

#include "platform/classes/ControlMessages.h"
#include "platform/classes/Forward.h"
#include "skin/engine/sParentCache.h"
#include "skin/engine/sPixelAccess.h"

#include <string>
#include <vector>

namespace korvex::skin {

// ---- The message --------------------------------------------------------------------------------------------
// Receivers compare against this variable. It holds 0xA100 for the whole run.
inline classes::UINT SM_SKINCMD = 0xA100;

// WParam: the code in the high word, a 0/1 argument in the low word (codes 8, 9, 12 and 20 only).
// LParam: the sending manager (codes 1 to 3, the manager's code 16), the cache query's slot (5), a control
// (15), the colour query's slot (21), a frame bitmap (24), else 0.
// Yes/no queries write their answer (0 or 1) into the record's LParam, so they only work through Perform or a
// direct call of the window procedure. The cache and colour queries answer through a slot the asker passes in
// LParam (AskCache, AskColor).
inline constexpr int SMC_NEWSKIN = 1;   // LParam: manager; the states that follow it recompute their indexes
inline constexpr int SMC_REMOVESKIN = 2;   // LParam: manager; indexes -1, cache emptied
inline constexpr int SMC_REFRESH = 3;   // LParam: manager; cache must be rendered again
inline constexpr int SMC_GETPROVIDER = 4;   // answered by a form's skin provider in Result
inline constexpr int SMC_GETCACHE = 5;   // LParam: the asker's TsParentCacheInfo slot (AskCache)
inline constexpr int SMC_PARENTUPDATED = 6;   // the parent finished updating
inline constexpr int SMC_ISSKINNED = 7;   // answer in LParam
inline constexpr int SMC_SETUPDATING = 8;   // low word 0/1
inline constexpr int SMC_SETPAINTMARK = 9;   // low word 0/1
inline constexpr int SMC_ISUPDATING = 10;   // answer in LParam
inline constexpr int SMC_ISCACHEINCOMPLETE = 11;   // answer in LParam
inline constexpr int SMC_CHANGEDIFTRANSPARENT = 12;   // low word 0/1
inline constexpr int SMC_REFRESHSECTION = 13;   // invalidate when the section is RefreshSectionName
inline constexpr int SMC_SETANIMCHILD = 15;   // LParam: the child being animated, or 0
inline constexpr int SMC_STOPFADING = 16;   // LParam: manager or 0; fading controls stop their timer
inline constexpr int SMC_SETBGCHANGED = 17;
inline constexpr int SMC_ISBGFROMPARENT = 19;   // answer in LParam (only with a section)
inline constexpr int SMC_MOVED = 20;   // low word 1: redraw the window and its children
inline constexpr int SMC_GETCOLOR = 21;   // LParam: the asker's TColor slot (AskColor)
inline constexpr int SMC_SETCACHEINCOMPLETE = 22;
inline constexpr int SMC_PREPAREFADE = 23;
inline constexpr int SMC_PAINTFADEFRAME = 24;   // LParam: frame bitmap; Result nonzero: painted by the control
inline constexpr int SMC_LAST = 24;   // codes 0, 14, 18 and above this are ignored

inline constexpr classes::WPARAM SkinCommandWParam(int code, int argument = 0) {
    return classes::WPARAM((unsigned(code) & 0xFFFF) << 16 | (unsigned(argument) & 0xFFFF));
}
inline constexpr int SkinCommandCode(const classes::TMessage& message) {
    return int((message.WParam >> 16) & 0xFFFF);
}
inline constexpr int SkinCommandArgument(const classes::TMessage& message) {
    return int(message.WParam & 0xFFFF);
}
// A record of SM_SKINCMD with the code, the low-word argument and LParam.
classes::TMessage MakeSkinCommand(int code, int argument = 0, classes::LPARAM lParam = 0);
bool IsSkinCommand(const classes::TMessage& message, int code);

// ---- Answers that survive SendMessage -------------------------------------------------------------------------
// The colour query: SMC_GETCOLOR by SendMessage with LParam pointing at a TColor that holds 0xFF00FF; a
// receiver writes its colour there. 0xFF00FF: nobody answered (or a null handle or control).
classes::TColor AskColor(user::HWND handle);
classes::TColor AskControlColor(classes::TControl* control);   // as SendSkinCommandToControl delivers
// The receiver's side: the colour into the asker's slot; nothing when LParam holds none.
void AnswerColorQuery(const classes::TMessage& message, classes::TColor color);
// The cache query: SMC_GETCACHE by SendMessage with LParam pointing at a TsParentCacheInfo that holds the empty
// record; a receiver writes its cache bitmap and the asker's offset in it there. Not Ready: nobody answered (or
// a null handle or control).
TsParentCacheInfo AskCache(user::HWND handle);
TsParentCacheInfo AskControlCache(classes::TControl* control);   // as SendSkinCommandToControl delivers
// The receiver's side: the answer into the asker's slot; nothing when LParam holds none.
void AnswerCacheQuery(const classes::TMessage& message, const TsParentCacheInfo& info);
// The asker's slot, for a control that adjusts an answer on its way back; null when LParam holds none.
TsParentCacheInfo* CacheQuerySlot(const classes::TMessage& message);
// The section name that code 13 compares with; nothing sets it.
inline std::string RefreshSectionName;

// ---- Extra forms ---------------------------------------------------------------------------------------------
// Forms outside the application's list that every form broadcast also reaches, after the application's forms.
// A freed form leaves the list by itself.
void AddExtraForm(classes::TCustomForm* form);
void RemoveExtraForm(classes::TCustomForm* form);
void ClearExtraForms();
std::vector<classes::TCustomForm*> ExtraForms();   // a copy, first to last

// ---- Delivery ------------------------------------------------------------------------------------------------
// Calls marked co_ in callers may destroy controls: hold handles across them, not pointers.

// SendMessage(handle, SM_SKINCMD, code << 16, lParam); 0 for a null handle.
classes::LRESULT SendSkinCommand(user::HWND handle, int code, classes::LPARAM lParam = 0);
// Perform for a windowless control; SendMessage for a windowed one with a handle that is not being destroyed;
// else nothing (0).
classes::LRESULT SendSkinCommandToControl(classes::TControl* control, int code, classes::LPARAM lParam = 0);
// Calls the control's window procedure directly with (SM_SKINCMD, code << 16, 0): True when it set LParam to 1.
bool QuerySkinCommand(classes::TControl* control, int code);
// Every descendant: windowless children by Perform, windowed ones that answer SMC_ISSKINNED by a direct call of
// their window procedure (not their children), other windowed ones by recursion into their children. A child
// being destroyed ends the walk of its siblings after it; a receiver's exception ends it quietly.
void BroadcastToChildren(classes::TWinControl* control, classes::TMessage& message);
// The application's forms (last owned first), each by SendMessage and BroadcastToChildren; then the extra forms.
void BroadcastToForms(classes::TMessage& message);
void BroadcastToExtraForms(classes::TMessage& message);

}
