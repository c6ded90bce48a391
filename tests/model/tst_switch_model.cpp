// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SwitchDecoding.h"
#include "model/SwitchSelection.h"

#include <QTest>

using namespace kdr;

namespace {

constexpr int kUnchanged = -99;

SwitchListPositions positions(int module, int channel = -1)
{
    return {module, channel};
}

PanelListPositions allNotAssigned()
{
    PanelListPositions p;
    p.fill(positions(kModulePositionNotAssigned));
    return p;
}

void markCollected(WorkingState &state, Code marker)
{
    for (SwitchFields &f : state.sw)
        f.w = marker;
}

} // namespace

class TestSwitchModel : public QObject {
    Q_OBJECT
private slots:
    void decodes_data();
    void decodes();
    void everySelectionSurvivesEncodingAndDecoding();
    void pTenIsTheBlMrCode();

    void collectsFromTheListsAsTheyStand();
    void stopsAtTheFirstIncompleteSwitch();
    void freshWindowFailsAtTheFirstSwitch();
    void neverClearsTheErrorFlag();

    void channelIsRememberedAcrossNotAssigned();
    void newModuleAddsTheSelectedChannel();
    void selectingTwiceChangesNothing();
    void noChannelPositionLeavesTheFieldsAlone();
};

void TestSwitchModel::decodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("module");
    QTest::addColumn<int>("channel"); // kUnchanged: l_index keeps its previous value
    QTest::addColumn<int>("leftInA");

    QTest::newRow("0 is A/1") << 0 << 1 << 0 << 0;
    QTest::newRow("9 is A/10") << 9 << 1 << 9 << 9;
    QTest::newRow("10 is B/1") << 10 << 2 << 0 << 0;
    QTest::newRow("25 is C/6") << 25 << 3 << 5 << 5;
    QTest::newRow("158 is P/9") << 158 << 16 << 8 << 8;
    QTest::newRow("159 is BL/MR") << 159 << 17 << kUnchanged << 159;
    QTest::newRow("160 is N/A") << 160 << 0 << kUnchanged << 160;
    QTest::newRow("161 is N/A") << 161 << 0 << kUnchanged << 161;
    QTest::newRow("32767 is N/A") << 32767 << 0 << kUnchanged << 32767;
    QTest::newRow("negative gives no channel position") << -5 << 1 << -5 << -5;
    QTest::newRow("most negative") << -32768 << 1 << -32768 << -32768;
}

void TestSwitchModel::decodes()
{
    QFETCH(int, code);
    QFETCH(int, module);
    QFETCH(int, channel);
    QFETCH(int, leftInA);

    WorkingState state;
    state.l_index = 7; // left by an earlier decode
    state.A = Code(code);
    DecodeSwitchCode(state);
    QCOMPARE(state.h_index, module);
    QCOMPARE(state.l_index, channel == kUnchanged ? 7 : channel);
    QCOMPARE(state.A, leftInA);
}

void TestSwitchModel::everySelectionSurvivesEncodingAndDecoding()
{
    for (int module = 1; module <= 16; ++module) {
        for (int channel = 0; channel <= 9; ++channel) {
            if (module == 16 && channel == 9)
                continue; // "P" + "10" is the BL/MR code
            WorkingState state;
            PanelListPositions p = allNotAssigned();
            p[0] = positions(module, channel);
            CollectSwitchCodes(state, p);
            QCOMPARE(state.error_flag, 0);
            state.A = state.sw[0].w;
            DecodeSwitchCode(state);
            QCOMPARE(state.h_index, module);
            QCOMPARE(state.l_index, channel);
        }
    }
}

void TestSwitchModel::pTenIsTheBlMrCode()
{
    WorkingState state;
    PanelListPositions p = allNotAssigned();
    p[3] = positions(16, 9);
    CollectSwitchCodes(state, p);
    QCOMPARE(state.sw[3].w, kCodeBlMr);
    state.A = state.sw[3].w;
    DecodeSwitchCode(state);
    QCOMPARE(state.h_index, kModulePositionBlMr);
}

void TestSwitchModel::collectsFromTheListsAsTheyStand()
{
    WorkingState state;
    PanelListPositions p = allNotAssigned();
    p[0] = positions(1, 0);                   // A / 1
    p[1] = positions(3, 3);                   // C / 4
    p[2] = positions(16, 9);                  // P / 10
    p[3] = positions(kModulePositionBlMr, 4); // BL/MR with a channel left in its hidden list
    p[4] = positions(kModulePositionNotAssigned, 2);
    state.sw[1].s = 99; // the collection never looks at the selection fields
    CollectSwitchCodes(state, p);
    QCOMPARE(state.error_flag, 0);
    const std::array<Code, kSwitchCount> expected{0, 23, 159, 159, 160, 160, 160, 160, 160, 160};
    for (int i = 0; i < kSwitchCount; ++i)
        QCOMPARE(state.sw[i].w, expected[i]);
}

void TestSwitchModel::stopsAtTheFirstIncompleteSwitch()
{
    WorkingState state;
    markCollected(state, 77);
    PanelListPositions p = allNotAssigned();
    p[0] = positions(2, 0);
    p[1] = positions(kModulePositionBlMr);
    p[2] = positions(5, 9);
    p[3] = positions(1, 1);
    p[4] = positions(3);      // module "C", no channel
    p[5] = positions(-1, -1); // would fail too, but is never examined
    CollectSwitchCodes(state, p);
    QCOMPARE(state.error_flag, 1);
    QCOMPARE(state.sw[0].w, 10);
    QCOMPARE(state.sw[1].w, 159);
    QCOMPARE(state.sw[2].w, 49);
    QCOMPARE(state.sw[3].w, 1);
    for (int i = 4; i < kSwitchCount; ++i)
        QCOMPARE(state.sw[i].w, 77);
}

void TestSwitchModel::freshWindowFailsAtTheFirstSwitch()
{
    WorkingState state;
    markCollected(state, 42);
    PanelListPositions nothing;
    CollectSwitchCodes(state, nothing);
    QCOMPARE(state.error_flag, 1);
    for (const SwitchFields &f : state.sw)
        QCOMPARE(f.w, 42);
}

void TestSwitchModel::neverClearsTheErrorFlag()
{
    WorkingState state;
    state.error_flag = 1;
    CollectSwitchCodes(state, allNotAssigned());
    QCOMPARE(state.error_flag, 1);
    for (const SwitchFields &f : state.sw)
        QCOMPARE(f.w, kCodeNotAssigned);
}

void TestSwitchModel::channelIsRememberedAcrossNotAssigned()
{
    WorkingState state;
    QVERIFY(ModuleSelected(state, 0, 3).channelListVisible.value());
    QVERIFY(ChannelSelected(state, 0, 3).showDesignation);
    QCOMPARE(state.sw[0].s, 23);

    QCOMPARE(ModuleSelected(state, 0, kModulePositionNotAssigned).channelListVisible, false);
    QCOMPARE(state.sw[0].s, 160);
    QCOMPARE(state.sw[0].m, 20);
    QCOMPARE(state.sw[0].c, 3);

    const ModuleSelectionEffect back = ModuleSelected(state, 0, 3);
    QCOMPARE(back.channelListVisible, true);
    QCOMPARE(state.sw[0].s, 23);
}

void TestSwitchModel::newModuleAddsTheSelectedChannel()
{
    WorkingState state;
    ModuleSelected(state, 4, 2);  // B
    ChannelSelected(state, 4, 1); // 2
    QCOMPARE(state.sw[4].s, 11);
    ModuleSelected(state, 4, 4); // D
    QCOMPARE(state.sw[4].s, 31);
    // A channel selected while "BL/MR" stands builds on the last ordinary module.
    ModuleSelected(state, 4, kModulePositionBlMr);
    QCOMPARE(state.sw[4].s, 159);
    ChannelSelected(state, 4, 5);
    QCOMPARE(state.sw[4].s, 35);
}

void TestSwitchModel::selectingTwiceChangesNothing()
{
    WorkingState once, twice;
    for (WorkingState *state : {&once, &twice}) {
        ModuleSelected(*state, 9, 7);
        ChannelSelected(*state, 9, 6);
    }
    ModuleSelected(twice, 9, 7);
    ChannelSelected(twice, 9, 6);
    QCOMPARE(twice.sw[9].s, once.sw[9].s);
    QCOMPARE(twice.sw[9].m, once.sw[9].m);
    QCOMPARE(twice.sw[9].c, once.sw[9].c);
    QCOMPARE(once.sw[9].s, 66);
}

void TestSwitchModel::noChannelPositionLeavesTheFieldsAlone()
{
    WorkingState state;
    ModuleSelected(state, 2, 5);
    ChannelSelected(state, 2, 2);
    const SwitchFields before = state.sw[2];
    QVERIFY(!ChannelSelected(state, 2, -1).showDesignation);
    QVERIFY(!ChannelSelected(state, 2, 10).showDesignation);
    QVERIFY(!ModuleSelected(state, 2, -1).channelListVisible.has_value());
    QCOMPARE(state.sw[2].s, before.s);
    QCOMPARE(state.sw[2].m, before.m);
    QCOMPARE(state.sw[2].c, before.c);
}

QTEST_APPLESS_MAIN(TestSwitchModel)
#include "tst_switch_model.moc"
