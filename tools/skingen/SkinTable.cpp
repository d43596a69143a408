// Every skin section and image looked up by name, who looks it up, and whether our skins provide it.
//
//  Section / image                         States  Looked up by
//  --------------------------------------  ------  ----------------------------------------------------------
//  GLOBALINFO                                      global colours (GetGlobalColor), grids' fixed and cell colours
//    BOX/RADIO/SMALL CHECKED|UNCHECKED|GRAYED  3   check boxes, radio buttons, cached check masks
//    CHECK                                  2      menu items' check mark (else BOXCHECKED)
//    BICONCLOSE/MAX/MIN/NORM/HELP           3      caption buttons of sizeable and single-border forms
//    SICONCLOSE/MAX/MIN/NORM                3      caption buttons of dialogs and tool windows, MDI buttons
//    TITLEBUTTON                            3      user title buttons
//    GRIPIMAGE                              1      size grip of forms and status bars
//  FORM            BORDERSMASK              2      form frame (inactive, active); PATTERN optional (MacOS)
//                  TITLEBAR                 -      optional backdrop under the caption buttons: left out
//                  IMGTOPLEFT...IMGBTMRIGHT -      optional corner images of any section: left out
//  FORMTITLE       BORDERSMASK              2      title band (state = form active); window region corners
//  DIALOG                                          message and library dialogs (parent FORM)
//  MENULINE                                        the form's menu bar
//  MAINMENU        BORDERSMASK              1      popup menu frame and background
//  MENUITEM        BORDERSMASK              2      menu items, top items (normal, selected)
//  ICOLINE, EXTRALINE                              icon band and extra line of popup menus
//  DIVIDERV        BORDERSMASK              1      menu separators (a horizontal groove)
//  DIVIDER         BORDERSMASK              1      tool bar and status bar dividers (a vertical groove)
//  MDIAREA                                         the MDI client area
//  BUTTON          BORDERSMASK              3      push and bitmap buttons, button-style tabs, up-down
//  SPEEDBUTTON     BORDERSMASK              3      speed buttons, edit buttons, flat-button tabs
//  SPEEDBUTTON_SMALL BORDERSMASK            3      spin buttons
//  TOOLBAR, TOOLBUTTON (parent SPEEDBUTTON)        tool bar and its buttons
//  EDIT            BORDERSMASK              2      edits, memos, views, grids, hints without a HINT section
//  COMBOBOX        GLYPHMASK                3      combo boxes and their drop button (frame from EDIT)
//  CHECKBOX, RADIOBUTTON                           check box and radio captions, group-box caption strip, grip
//  GROUPBOX        BORDERSMASK              1      group boxes
//  PANEL, PANEL_LOW BORDERSMASK             1      panels, scroll boxes
//  SPLITTER                                        splitters
//  STATUSBAR       STATUSPANELMASK          1      status bar and its panels
//  GAUGE           BORDERSMASK              1      gauge body; PROGRESSH / PROGRESSV its bar
//  PAGECONTROL(+BOTTOM, LEFT, RIGHT), TABCONTROL   page frame by tab position
//  TABSHEET                                        tab sheets
//  TABTOP/TABBOTTOM/TABLEFT/TABRIGHT BORDERSMASK 3 tabs (normal, hot, active)
//  TRACKBAR        SLIDERCHANNEL 2, SLIDERMASK 3, SLIDERVMASK 3, TICKHORZ 3, TICKVERT 3; menu divider fall-back
//  COLHEADER       BORDERSMASK              3      list view header sections (else BUTTON)
//  WEBBUTTON                                       link labels (underlined when hot)
//  HINT            BORDERSMASK              1      hint windows that use the skin
//  DRAGBAR, BAR, BARTITLE                          default sections of those control kinds
//  SCROLLBTNTOP/BOTTOM/LEFT/RIGHT BORDERSMASK 3, GLYPHMASK 3   scroll and up-down arrow buttons
//  SCROLLSLIDERH/V BORDERSMASK 3, GLYPHMASK 3      scroll thumbs
//  SCROLLBAR1H/1V/2H/2V BORDERSMASK         3      scroll tracks before and after the thumb
//
// States: 0 normal, 1 hot (or active), 2 pressed (or active tab); mask rows below every picture.
#include "tools/skingen/SkinTable.h"

namespace korvex::skingen {

const std::vector<TLookup>& SkinLookups() {
    static const std::vector<TLookup> table = {
        {"GLOBALINFO", nullptr, true, "global colours"},
        {"FORM", nullptr, true, "form body"},
        {"FORMTITLE", nullptr, true, "title band"},
        {"DIALOG", nullptr, true, "dialogs"},
        {"MDIAREA", nullptr, true, "MDI client"},
        {"DRAGBAR", nullptr, true, "drag bars"},
        {"BARTITLE", nullptr, true, "bar titles"},
        {"BAR", nullptr, true, "bars"},
        {"MENULINE", nullptr, true, "menu bar"},
        {"MAINMENU", nullptr, true, "popup menus"},
        {"MENUITEM", nullptr, true, "menu items"},
        {"ICOLINE", nullptr, true, "menu icon band"},
        {"EXTRALINE", nullptr, true, "menu extra line"},
        {"DIVIDERV", nullptr, true, "menu separators"},
        {"DIVIDER", nullptr, true, "bar dividers"},
        {"BUTTON", nullptr, true, "buttons"},
        {"SPEEDBUTTON", nullptr, true, "speed buttons"},
        {"SPEEDBUTTON_SMALL", nullptr, true, "spin buttons"},
        {"TOOLBAR", nullptr, true, "tool bars"},
        {"TOOLBUTTON", nullptr, true, "tool buttons"},
        {"COLHEADER", nullptr, true, "list headers"},
        {"EDIT", nullptr, true, "edits and views"},
        {"COMBOBOX", nullptr, true, "combo boxes"},
        {"CHECKBOX", nullptr, true, "check boxes"},
        {"RADIOBUTTON", nullptr, true, "radio buttons"},
        {"WEBBUTTON", nullptr, true, "link labels"},
        {"GROUPBOX", nullptr, true, "group boxes"},
        {"PANEL", nullptr, true, "panels"},
        {"PANEL_LOW", nullptr, true, "sunken panels, scroll boxes"},
        {"SPLITTER", nullptr, true, "splitters"},
        {"STATUSBAR", nullptr, true, "status bars"},
        {"HINT", nullptr, true, "hints"},
        {"GAUGE", nullptr, true, "gauges"},
        {"PROGRESSH", nullptr, true, "horizontal gauge bar"},
        {"PROGRESSV", nullptr, true, "vertical gauge bar"},
        {"PAGECONTROL", nullptr, true, "page frame, tabs on top"},
        {"PAGECONTROLBOTTOM", nullptr, true, "page frame, tabs below"},
        {"PAGECONTROLLEFT", nullptr, true, "page frame, tabs left"},
        {"PAGECONTROLRIGHT", nullptr, true, "page frame, tabs right"},
        {"TABCONTROL", nullptr, true, "tab controls"},
        {"TABSHEET", nullptr, true, "tab sheets"},
        {"TABTOP", nullptr, true, "tabs"},
        {"TABBOTTOM", nullptr, true, "tabs"},
        {"TABLEFT", nullptr, true, "tabs"},
        {"TABRIGHT", nullptr, true, "tabs"},
        {"TRACKBAR", nullptr, true, "track bars"},
        {"SCROLLBTNTOP", nullptr, true, "scroll arrows"},
        {"SCROLLBTNBOTTOM", nullptr, true, "scroll arrows"},
        {"SCROLLBTNLEFT", nullptr, true, "scroll arrows"},
        {"SCROLLBTNRIGHT", nullptr, true, "scroll arrows"},
        {"SCROLLSLIDERH", nullptr, true, "scroll thumbs"},
        {"SCROLLSLIDERV", nullptr, true, "scroll thumbs"},
        {"SCROLLBAR1H", nullptr, true, "scroll tracks"},
        {"SCROLLBAR1V", nullptr, true, "scroll tracks"},
        {"SCROLLBAR2H", nullptr, true, "scroll tracks"},
        {"SCROLLBAR2V", nullptr, true, "scroll tracks"},

        {"GLOBALINFO", "BOXCHECKED", true, "check boxes, menu checks"},
        {"GLOBALINFO", "BOXUNCHECKED", true, "check boxes"},
        {"GLOBALINFO", "BOXGRAYED", true, "check boxes"},
        {"GLOBALINFO", "RADIOCHECKED", true, "radio buttons, radio menu items"},
        {"GLOBALINFO", "RADIOUNCHECKED", true, "radio buttons"},
        {"GLOBALINFO", "RADIOGRAYED", true, "radio buttons"},
        {"GLOBALINFO", "SMALLCHECKED", true, "small checks"},
        {"GLOBALINFO", "SMALLUNCHECKED", true, "small checks"},
        {"GLOBALINFO", "SMALLGRAYED", true, "small checks"},
        {"GLOBALINFO", "CHECK", true, "menu check mark"},
        {"GLOBALINFO", "BICONCLOSE", true, "caption buttons"},
        {"GLOBALINFO", "BICONMAX", true, "caption buttons"},
        {"GLOBALINFO", "BICONMIN", true, "caption buttons"},
        {"GLOBALINFO", "BICONNORM", true, "caption buttons"},
        {"GLOBALINFO", "BICONHELP", true, "caption buttons"},
        {"GLOBALINFO", "SICONCLOSE", true, "small caption buttons"},
        {"GLOBALINFO", "SICONMAX", true, "small caption buttons"},
        {"GLOBALINFO", "SICONMIN", true, "small caption buttons"},
        {"GLOBALINFO", "SICONNORM", true, "small caption buttons, MDI restore"},
        {"GLOBALINFO", "TITLEBUTTON", true, "user title buttons"},
        {"GLOBALINFO", "GRIPIMAGE", true, "size grips"},
        {"FORM", "BORDERSMASK", true, "form frame"},
        {"FORM", "TITLEBAR", false, "backdrop of the caption buttons"},
        {"FORM", "IMGTOPLEFT", false, "corner images"},
        {"FORMTITLE", "BORDERSMASK", true, "title band"},
        {"DIALOG", "BORDERSMASK", true, "dialog frame (from FORM)"},
        {"MAINMENU", "BORDERSMASK", true, "popup frame, menu border width"},
        {"MENUITEM", "BORDERSMASK", true, "selected items"},
        {"DIVIDERV", "BORDERSMASK", true, "menu separators"},
        {"DIVIDER", "BORDERSMASK", true, "tool bar and status bar dividers"},
        {"BUTTON", "BORDERSMASK", true, "buttons"},
        {"SPEEDBUTTON", "BORDERSMASK", true, "speed buttons"},
        {"SPEEDBUTTON_SMALL", "BORDERSMASK", true, "spin buttons"},
        {"TOOLBUTTON", "BORDERSMASK", true, "tool buttons (from SPEEDBUTTON)"},
        {"COLHEADER", "BORDERSMASK", true, "list headers"},
        {"EDIT", "BORDERSMASK", true, "edits"},
        {"COMBOBOX", "BORDERSMASK", true, "combo frame (from EDIT)"},
        {"COMBOBOX", "GLYPHMASK", true, "combo drop button"},
        {"GROUPBOX", "BORDERSMASK", true, "group boxes"},
        {"PANEL", "BORDERSMASK", true, "panels"},
        {"PANEL_LOW", "BORDERSMASK", true, "sunken panels"},
        {"STATUSBAR", "STATUSPANELMASK", true, "status panels"},
        {"HINT", "BORDERSMASK", true, "hints"},
        {"GAUGE", "BORDERSMASK", true, "gauges"},
        {"PROGRESSH", "BORDERSMASK", true, "gauge bars"},
        {"PROGRESSV", "BORDERSMASK", true, "gauge bars (from PROGRESSH)"},
        {"PAGECONTROL", "BORDERSMASK", true, "page frame"},
        {"PAGECONTROLBOTTOM", "BORDERSMASK", true, "page frame"},
        {"PAGECONTROLLEFT", "BORDERSMASK", true, "page frame"},
        {"PAGECONTROLRIGHT", "BORDERSMASK", true, "page frame"},
        {"TABTOP", "BORDERSMASK", true, "tabs"},
        {"TABBOTTOM", "BORDERSMASK", true, "tabs"},
        {"TABLEFT", "BORDERSMASK", true, "tabs"},
        {"TABRIGHT", "BORDERSMASK", true, "tabs"},
        {"TRACKBAR", "SLIDERCHANNEL", true, "track bar channel, menu divider fall-back"},
        {"TRACKBAR", "SLIDERMASK", true, "horizontal thumb"},
        {"TRACKBAR", "SLIDERVMASK", true, "vertical thumb"},
        {"TRACKBAR", "TICKHORZ", true, "ticks"},
        {"TRACKBAR", "TICKVERT", true, "ticks"},
        {"SCROLLBTNTOP", "BORDERSMASK", true, "scroll arrows"},
        {"SCROLLBTNBOTTOM", "BORDERSMASK", true, "scroll arrows (from SCROLLBTNTOP)"},
        {"SCROLLBTNLEFT", "BORDERSMASK", true, "scroll arrows"},
        {"SCROLLBTNRIGHT", "BORDERSMASK", true, "scroll arrows (from SCROLLBTNLEFT)"},
        {"SCROLLBTNTOP", "GLYPHMASK", true, "arrow glyphs"},
        {"SCROLLBTNBOTTOM", "GLYPHMASK", true, "arrow glyphs, tool bar drop arrow"},
        {"SCROLLBTNLEFT", "GLYPHMASK", true, "arrow glyphs"},
        {"SCROLLBTNRIGHT", "GLYPHMASK", true, "arrow glyphs"},
        {"SCROLLSLIDERH", "BORDERSMASK", true, "scroll thumbs"},
        {"SCROLLSLIDERV", "BORDERSMASK", true, "scroll thumbs (from SCROLLSLIDERH)"},
        {"SCROLLSLIDERH", "GLYPHMASK", true, "thumb grips"},
        {"SCROLLSLIDERV", "GLYPHMASK", true, "thumb grips"},
        {"SCROLLBAR1H", "BORDERSMASK", true, "scroll tracks"},
        {"SCROLLBAR1V", "BORDERSMASK", true, "scroll tracks (from SCROLLBAR1H)"},
        {"SCROLLBAR2H", "BORDERSMASK", true, "scroll tracks (from SCROLLBAR1H)"},
        {"SCROLLBAR2V", "BORDERSMASK", true, "scroll tracks (from SCROLLBAR1V)"},
    };
    return table;
}

}
