// The selection cascade: construction kind, work type and drawing kind on both pages.
#include "builder/cascade.h"
#include "builder/creation_run.h"
#include "builder/forms/builder_form.h"
#include "builder/queries.h"
#include "core/program.h"
#include "ui/dialogs.h"

namespace builder {
namespace {

constexpr std::u16string_view kNoWorkTypeMessage =
    u"選択したは施工種別は現在のデータベースセットに登録されていません。\rﾃﾞｰﾀﾍﾞｰｽに追加セットが必要です。\r\r"
    u"詳しくはサポート会社にお問い合わせください。";

void fill(ui::ListBox& list, const std::vector<std::u16string>& texts) {
    list.clearItems();
    list.addItems(texts);
}

// The rows of "レイヤーテーブル" that the filter selects for one drawing kind, turned into list entries. The
// shared result set is released before this returns.
template <typename Entry>
tiermark::Result<std::vector<std::u16string>> layerEntries(stddb::SharedDatabase& database,
                                                           std::u16string_view filter, Entry entry) {
    auto opened = database.openShared(u"レイヤーテーブル", filter);
    if (!opened) {
        return opened.error();
    }
    stddb::Recordset& rows = **opened;
    std::vector<std::u16string> entries;
    while (!rows.Eof()) {
        auto object = rows.Field(u"図面オブジェクト");
        auto element = rows.Field(u"作図要素");
        auto content = rows.Field(u"内容");
        if (!object || !element || !content) {
            return tiermark::makeError("a field of the layer table is missing");
        }
        entries.push_back(entry(*content, *object, *element));
        auto next = rows.MoveNext();
        if (!next) {
            return next.error();
        }
    }
    return entries;
}

// Every value of the field in the rows of the table that the filter selects; an error as well when no row
// is selected. The shared result set is released before this returns.
tiermark::Result<std::vector<std::u16string>> selectedTexts(stddb::SharedDatabase& database,
                                                            std::u16string_view table,
                                                            std::u16string_view filter,
                                                            std::u16string_view field) {
    auto rows = database.openShared(table, filter);
    if (!rows) {
        return rows.error();
    }
    if (auto first = (*rows)->MoveFirst(); !first) {
        return first.error();
    }
    return columnTexts(**rows, field);
}

// Work types of the chosen construction kind, shared by both pages. False when the message was shown.
bool fillWorkTypes(stddb::SharedDatabase& database, ui::ListBox& kinds, ui::ListBox& workTypes) {
    auto names = selectedTexts(database, u"工種テーブル", kindFilter(kinds.listIndex() + 1), u"工種名");
    if (!names) {
        return false;
    }
    fill(workTypes, *names);
    return true;
}

// Drawing kinds of a work type. False (and the list left alone) when the work type has none.
bool fillDrawingKinds(stddb::SharedDatabase& database, const std::u16string& key, ui::ListBox& drawings) {
    auto names = selectedTexts(database, u"図面マスター", workTypeFilter(key), u"図面名称");
    if (!names) {
        return false;
    }
    fill(drawings, *names);
    return true;
}

}  // namespace

void UserForm1::showNoWorkTypeMessage() {
    ui::showMessage(m_program.dialogs(), this, std::u16string(kNoWorkTypeMessage));
}

void UserForm1::ListBox2_Click() {
    ListBox4->clearItems();
    ListBox6->clearItems();
    if (!fillWorkTypes(m_program.database(), *ListBox2, *ListBox3)) {
        showNoWorkTypeMessage();
    }
}

void UserForm1::ListBox3_Click() {
    ListBox6->clearItems();
    const std::u16string key = workTypeKeyText(ListBox2->listIndex(), ListBox3->listIndex());
    Label6->setCaption(key);
    if (fillDrawingKinds(m_program.database(), key, *ListBox4)) {
        CommandButton1->setEnabled(false);
    }
}

void UserForm1::showLayerTableUnreadable() {
    ui::showMessage(m_program.dialogs(), this, std::u16string(kLayerTableUnreadableMessage));
}

void UserForm1::ListBox4_Click() {
    ListBox6->clearItems();
    // Whatever lists no layers leaves nothing to create: "レイヤー作成" must not stay enabled from an
    // earlier drawing kind.
    if (!drawingNameFitsFilter(ListBox4->text())) {
        CommandButton1->setEnabled(false);
        ui::showMessage(m_program.dialogs(), this, quotedDrawingNameMessage(ListBox4->text()));
        return;
    }
    const bool standardNames = OptionButton1->isChecked();
    auto entries = layerEntries(
        m_program.database(), layerFilter(Label6->caption(), ListBox4->text()),
        [&](const stddb::Value& content, const stddb::Value& object, const stddb::Value& element) {
            return pageOneLayerEntry(standardNames, ListBox1->listIndex(), content, object, element);
        });
    if (!entries) {
        CommandButton1->setEnabled(false);
        showLayerTableUnreadable();
        return;
    }
    fill(*ListBox6, *entries);
    if (entries->empty()) {
        // A drawing kind without layers offers nothing to create; say so rather than show an empty list.
        CommandButton1->setEnabled(false);
        ui::showMessage(m_program.dialogs(), this, std::u16string(kNoLayerRowsMessage));
        return;
    }
    CommandButton1->setEnabled(true);
}

void UserForm1::ListBox9_Click() {
    ListBox11->clearItems();
    ListBox12->clearItems();
    ListBox13->clearItems();
    if (!fillWorkTypes(m_program.database(), *ListBox9, *ListBox10)) {
        showNoWorkTypeMessage();
    }
}

void UserForm1::ListBox10_Click() {
    ListBox11->clearItems();
    ListBox12->clearItems();
    ListBox13->clearItems();
    const std::u16string key = workTypeKeyText(ListBox9->listIndex(), ListBox10->listIndex());
    Label18->setCaption(key);
    if (fillDrawingKinds(m_program.database(), key, *ListBox11)) {
        CommandButton1->setEnabled(false);
    }
}

void UserForm1::ListBox11_Click() {
    ListBox12->clearItems();
    if (!drawingNameFitsFilter(ListBox11->text())) {
        ListBox13->clearItems();
        ui::showMessage(m_program.dialogs(), this, quotedDrawingNameMessage(ListBox11->text()));
        return;
    }
    auto entries =
        layerEntries(m_program.database(), layerFilter(Label18->caption(), ListBox11->text()),
                     [&](const stddb::Value&, const stddb::Value& object, const stddb::Value& element) {
                         return pageTwoLayerEntry(ListBox8->listIndex(), object, element);
                     });
    if (!entries) {
        ListBox13->clearItems();
        showLayerTableUnreadable();
        return;
    }
    ListBox12->clearItems();
    fill(*ListBox13, *entries);
    if (entries->empty()) {
        ui::showMessage(m_program.dialogs(), this, std::u16string(kNoLayerRowsMessage));
    }
    listDrawingLayers();
}

}  // namespace builder
