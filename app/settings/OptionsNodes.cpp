// The options window's copy of the node list: read from the store, stored whole.
#include "app/settings/OptionsNodes.h"

#include "app/settings/SettingsKey.h"

namespace korvex::app {

TNodeSettings NewOptionsNode() {
    TNodeSettings node;
    node.Label = "new";
    node.Core = 0;
    return node;
}

std::vector<TNodeSettings> ReadOptionsNodes(int count) {
    TSettingsBatch batch;
    TNodeKeys keys;
    const TNodeSettings d = NewOptionsNode();
    std::vector<TNodeSettings> nodes(ClampCount(count));
    for (int i = 0; i < int(nodes.size()); ++i) {
        TNodeSettings& n = nodes[i];
        n = d;
        n.Label = keys.Label.TextIfPresent(NodeValue("Label", i)).value_or("");
        n.Get = keys.Get.Flag(NodeValue("Get", i), d.Get);
        n.Trycore = keys.Get.Flag(NodeValue("Trycore", i), false);
        n.Level = keys.Get.Integer(NodeValue("Level", i), d.Level);
        n.CPU = keys.Get.Flag(NodeValue("CPU", i), d.CPU);
        n.Send = keys.Get.Flag(NodeValue("Send", i), d.Send);
        n.Core = keys.Get.Integer(NodeValue("Core", i), d.Core);
        n.RSPath = keys.Get.Text(NodeValue("RSPath", i), d.RSPath);
        n.Backup = keys.Get.Flag(NodeValue("BackUp", i), d.Backup);
        n.Verbo = keys.Get.Flag(NodeValue("Verbo", i), d.Verbo);
        n.VerboN = keys.Get.Integer(NodeValue("VerboN", i), d.VerboN);
        n.MID = keys.Get.IntegerIfPresent(NodeValue("MID", i)).value_or(d.MID);
        n.Hint = keys.Hint.IntegerIfPresent(NodeValue("Hint", i)).value_or(0) != 0;
        n.Path = keys.Path.TextIfPresent(NodeValue("Path", i)).value_or("");
        n.Ip = keys.Path.TextIfPresent(NodeValue("Ip", i)).value_or("");
        n.Progress = keys.Data.IntegerIfPresent(NodeValue("Progress", i)).value_or(0);
        n.BackLevel = keys.Data.IntegerIfPresent(NodeValue("BackLevel", i)).value_or(0);
    }
    return nodes;
}

void StoreOptionsNodes(const std::vector<TNodeSettings>& nodes) {
    TSettingsBatch batch;
    StoreHostCount(int(nodes.size()));
    TNodeKeys keys;
    for (int i = 0; i < int(nodes.size()); ++i) {
        const TNodeSettings& n = nodes[i];
        keys.Label.WriteText(NodeValue("Label", i), n.Label);
        keys.Data.WriteInteger(NodeValue("Progress", i), n.Progress);
        keys.Data.WriteInteger(NodeValue("BackLevel", i), n.BackLevel);
        keys.Path.WriteText(NodeValue("Path", i), n.Path);
        keys.Path.WriteText(NodeValue("Ip", i), n.Ip);
        keys.Get.WriteFlag(NodeValue("Get", i), n.Get);
        keys.Get.WriteFlag(NodeValue("Send", i), n.Send);
        keys.Get.WriteText(NodeValue("RSPath", i), n.RSPath);
        keys.Get.WriteInteger(NodeValue("Level", i), n.Level);
        keys.Get.WriteFlag(NodeValue("CPU", i), n.CPU);
        keys.Get.WriteFlag(NodeValue("Backup", i), n.Backup);
        keys.Get.WriteFlag(NodeValue("Verbo", i), n.Verbo);
        keys.Get.WriteInteger(NodeValue("VerboN", i), n.VerboN);
        keys.Get.WriteInteger(NodeValue("Core", i), n.Core);
        keys.Get.WriteFlag(NodeValue("Trycore", i), n.Trycore);
        keys.Get.WriteInteger(NodeValue("MID", i), n.MID);
        keys.Hint.WriteFlag(NodeValue("Hint", i), n.Hint);
    }
}

void StoreHostCount(int count) {
    TSettingsKey(OptionsKey).WriteInteger("HostCount", count);
}

void ForgetNodeValues(int node) {
    TSettingsBatch batch;
    TNodeKeys keys;
    const struct {
        TSettingsKey* Key;
        const char* Name;
    } values[] = {
        {&keys.Label, "Label"},
        {&keys.Data, "Progress"},
        {&keys.Data, "BackLevel"},
        {&keys.Path, "Path"},
        {&keys.Path, "Ip"},
        {&keys.Get, "Get"},
        {&keys.Get, "Send"},
        {&keys.Get, "RSPath"},
        {&keys.Get, "Level"},
        {&keys.Get, "CPU"},
        {&keys.Get, "Backup"},
        {&keys.Get, "Verbo"},
        {&keys.Get, "VerboN"},
        {&keys.Get, "Core"},
        {&keys.Get, "Trycore"},
        {&keys.Get, "MID"},
        {&keys.Hint, "Hint"},
    };
    for (const auto& value : values) {
        const std::string name = NodeValue(value.Name, node);
        if (value.Key->Exists(name)) value.Key->Registry().DeleteValue(name);
    }
}

}
