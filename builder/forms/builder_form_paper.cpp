// Paper size and redraw origin.
#include "builder/cascade.h"
#include "builder/forms/builder_form.h"
#include "builder/redraw_origin.h"
#include "builder/value_text.h"
#include "core/program.h"

namespace builder {

void UserForm1::ListBox7_Click() {
    for (int i = 0; i < ListBox7->listCount(); ++i) {
        if (i == ListBox7->listIndex()) {
            Label11->setCaption(ListBox7->itemText(i));
        }
    }
    // From here every step that fails is skipped and the next one runs: a designation the filter cannot
    // take leaves the whole table, whose first row is then read; a missing row or field leaves the labels.
    if (auto rows = m_program.database().openShared(u"用紙テーブル")) {
        (void)rows->narrow(paperFilter(Label11->caption()));  // when it fails, the whole table stays
        if (auto shortSide = (*rows)->Field(u"短辺寸法")) {
            Label9->setCaption(stddb::asText(*shortSide) + u"(mm)");
            Label24->setCaption(stddb::asText(*shortSide));
        }
        if (auto longSide = (*rows)->Field(u"長辺寸法")) {
            Label10->setCaption(stddb::asText(*longSide) + u"(mm)");
            Label25->setCaption(stddb::asText(*longSide));
        }
    }
    computeRedrawOrigin();
}

void UserForm1::computeRedrawOrigin() {
    const RedrawOriginTexts origin = builder::computeRedrawOrigin(
        TextBox1->text16(), TextBox2->text16(), TextBox3->text16(), Label24->caption(), Label25->caption());
    TextBox4->setText16(origin.originY);
    TextBox5->setText16(origin.originX);
}

void UserForm1::TextBox1_Change() {
    computeRedrawOrigin();
}

void UserForm1::TextBox2_Change() {
    computeRedrawOrigin();
}

void UserForm1::TextBox3_Change() {
    computeRedrawOrigin();
}

}  // namespace builder
