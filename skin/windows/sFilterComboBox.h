// TsFilterComboBox: the file-type combo of the file dialogs; one item per filter description, with its mask.
#pragma once

#include "platform/classes/TCommonDialog.h"
#include "skin/controls/sComboBox.h"

#include <string>
#include <vector>

namespace korvex::skin {

inline constexpr const char* AllFilesFilterText = "All files (*.*)|*.*";

// The items are built from Filter once the window exists and on each change of Filter; item 0 is selected.
class TsFilterComboBox : public TsCustomComboBox {
public:
    explicit TsFilterComboBox(classes::TComponent* owner);
    static classes::TClass StaticClass();
    classes::TClass ClassType() const override { return StaticClass(); }

    const std::string& Filter() const { return FFilter; }
    void SetFilter(const std::string& value);   // the items again; OnChange
    // The selected item's masks ("*.txt;*.log"); the last item is selected when none is; "*.*" without items.
    // A description without a mask has the empty mask, which passes every file.
    std::string Mask();
    // Whether a file name passes the selected item's masks.
    bool Matches(const std::string& name);

protected:
    void CreateWnd() override;
    void Select() override;   // a click is a change

private:
    void BuildItems();

    std::string FFilter = AllFilesFilterText;
    std::vector<classes::TFilterItem> FMasks;   // one per item
};

}
