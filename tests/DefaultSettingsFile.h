// The settings file that a fresh installation writes, as Velkora's users see it: five
// sections, every key with its default, in this order.
#pragma once

inline const char DEFAULT_SETTINGS_FILE[] =
    "[General]\r\nEnable=1\r\nInterval=500\r\nFullScreen=1\r\nExclude=\r\n"
    "[ShortcutKey]\r\nToggleEnable=\r\n"
    "[Wheel]\r\nOnWheel=1\r\nAllowance=4\r\nUp=2\r\nDown=2\r\nTimeOut=500\r\nBounceGuard=30\r\n"
    "[Move]\r\nOnMove=65551\r\nWidth=10\r\nHeight=10\r\nDelay=200\r\nClickGuard=1\r\nOnMoveOthers=0\r\n"
    "Push=1\r\nPushDistance=150\r\nModifier=0\r\n"
    "[Click]\r\nOnClick=6\r\nMsecDblClick=200\r\nMsecHoldDown=500\r\nMoveAllowance=10\r\n";
