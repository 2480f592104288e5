/* Writes the CController block of one configuration of the staged Vexorand 5.3 machine, laid out
 * by the C header that `vextool fmt header` makes from the installation's vexorand.fmt.
 * Usage: controller_block mill|lathe > FILE.bin */
#include <stdio.h>
#include <string.h>

#include "vexorand_layout.h"

/* PLC addresses: word and bit, a timer, a data-memory word, none. */
#define PLC_BIT(word, bit) (((uint32_t)(word) << 16) | (uint32_t)(bit))
#define PLC_TIMER(number) PLC_BIT(10000, number)
#define PLC_DM(word) PLC_BIT(10002, word)
#define PLC_NONE 0xFFFFFFFFu

static const uint64_t kGuard = 0x56455843544C3533ull; /* "VEXCTL53" */

static void SetAxis(CAxis* axis, const char* name, int index, double travel, double pitch) {
  strncpy(axis->m_szName, name, sizeof axis->m_szName);
  axis->m_bEnabled = 1;
  axis->m_Limits.m_dPositiveLimit = travel;
  axis->m_Limits.m_dNegativeLimit = -2.5;
  axis->m_Limits.m_dMaxVelocity = 24000.0 - 2000.0 * index;
  axis->m_Limits.m_dMaxAccel = 1.25 + 0.25 * index;
  axis->m_Gains.m_fKp = 42.5f + index;
  axis->m_Gains.m_fKi = 0.125f;
  axis->m_Gains.m_fKd = 0.75f;
  axis->m_Gains.m_wFeedForward = (uint16_t)(85 + index);
  axis->m_nEncoderLines = 2500;
  axis->m_dScrewPitch = pitch;
  axis->m_HomeSwitch = PLC_BIT(20, index);
  axis->m_AlarmInput = PLC_BIT(21, index);
  axis->m_EnableOutput = PLC_BIT(30, index);
}

static void Mill(CController* c) {
  c->m_nAxisCount = 3;
  c->m_dwAxisMask = 0x7;
  SetAxis(&c->m_Axes[0], "X", 0, 850.0, 10.0);
  SetAxis(&c->m_Axes[1], "Y", 1, 500.0, 10.0);
  SetAxis(&c->m_Axes[2], "Z", 2, 450.0, 5.0);
  strncpy(c->m_Axes[3].m_szName, "A", sizeof c->m_Axes[3].m_szName);
  c->m_Axes[3].m_HomeSwitch = c->m_Axes[3].m_AlarmInput = c->m_Axes[3].m_EnableOutput = PLC_NONE;
  c->m_Spindle.m_nMaxRpm = 12000;
  c->m_Spindle.m_nMinRpm = 100;
  c->m_Spindle.m_dRampTime = 2.5;
  c->m_Spindle.m_wGearRatio[0] = 1;
  c->m_Spindle.m_wGearRatio[1] = 2;
  c->m_Spindle.m_wGearRatio[2] = 4;
  c->m_Spindle.m_RunForward = PLC_BIT(31, 0);
  c->m_Spindle.m_RunReverse = PLC_BIT(31, 1);
  c->m_Spindle.m_AtSpeed = PLC_BIT(22, 4);
  strncpy(c->m_ToolChanger.m_szModel, "Carousel ATC-24", sizeof c->m_ToolChanger.m_szModel);
  c->m_ToolChanger.m_nPockets = 24;
  c->m_ToolChanger.m_nChangeTimeMs = 3500;
  strncpy(c->m_ToolChanger.m_szToolTable, "D:\\VexFiles\\Tools\\mill.tbl",
          sizeof c->m_ToolChanger.m_szToolTable);
  c->m_ToolChanger.m_bRandomPocket = 1;
  c->m_dRapidOverride = 100.0;
  c->m_dFeedOverrideMax = 150.0;
  c->m_nBacklashComp = 12;
  c->m_dwOptions = 0x0000002D;
  c->m_qwRunSeconds = 31536000ull + 8123456ull;
  c->m_tCalibrated = 1717400000;
}

static void Lathe(CController* c) {
  c->m_nAxisCount = 2;
  c->m_dwAxisMask = 0x5;
  SetAxis(&c->m_Axes[0], "X", 0, 260.0, 5.0);
  strncpy(c->m_Axes[1].m_szName, "Y", sizeof c->m_Axes[1].m_szName);
  c->m_Axes[1].m_HomeSwitch = c->m_Axes[1].m_AlarmInput = c->m_Axes[1].m_EnableOutput = PLC_NONE;
  SetAxis(&c->m_Axes[2], "Z", 2, 620.0, 10.0);
  strncpy(c->m_Axes[3].m_szName, "C", sizeof c->m_Axes[3].m_szName);
  c->m_Axes[3].m_HomeSwitch = c->m_Axes[3].m_AlarmInput = c->m_Axes[3].m_EnableOutput = PLC_NONE;
  c->m_Spindle.m_nMaxRpm = 4500;
  c->m_Spindle.m_nMinRpm = 30;
  c->m_Spindle.m_dRampTime = 1.75;
  c->m_Spindle.m_wGearRatio[0] = 1;
  c->m_Spindle.m_wGearRatio[1] = 3;
  c->m_Spindle.m_RunForward = PLC_BIT(31, 0);
  c->m_Spindle.m_RunReverse = PLC_BIT(31, 1);
  c->m_Spindle.m_AtSpeed = PLC_BIT(22, 4);
  strncpy(c->m_ToolChanger.m_szModel, "Turret VDI-12", sizeof c->m_ToolChanger.m_szModel);
  c->m_ToolChanger.m_nPockets = 12;
  c->m_ToolChanger.m_nChangeTimeMs = 900;
  strncpy(c->m_ToolChanger.m_szToolTable, "D:\\VexFiles\\Tools\\lathe.tbl",
          sizeof c->m_ToolChanger.m_szToolTable);
  c->m_dRapidOverride = 75.0;
  c->m_dFeedOverrideMax = 120.0;
  c->m_nBacklashComp = 4;
  c->m_dwOptions = 0x00000011;
  c->m_qwRunSeconds = 4412093ull;
  c->m_tCalibrated = 1709251200;
}

int main(int argc, char** argv) {
  CController c;
  memset(&c, 0, sizeof c);
  c.m__df_beginCController = kGuard;
  c.m__df_endCController = kGuard;
  c.m_dwBlockVersion = 0x00050300;
  c.m_ToolChanger.m_Signals.m_bHandshake = 2;
  c.m_ToolChanger.m_Signals.m_ClampSensor = PLC_BIT(24, 7);
  c.m_ToolChanger.m_Signals.m_ChangeTimer = PLC_TIMER(5);
  c.m_ToolChanger.m_Signals.m_PocketWord = PLC_DM(1200);
  for (int i = 0; i < 8; ++i) c.m_AuxOutputs[i] = i < 4 ? PLC_BIT(32, i) : PLC_NONE;
  if (argc == 2 && strcmp(argv[1], "mill") == 0) {
    Mill(&c);
  } else if (argc == 2 && strcmp(argv[1], "lathe") == 0) {
    Lathe(&c);
  } else {
    fputs("usage: controller_block mill|lathe > FILE.bin\n", stderr);
    return 64;
  }
  return fwrite(&c, sizeof c, 1, stdout) == 1 ? 0 : 1;
}
