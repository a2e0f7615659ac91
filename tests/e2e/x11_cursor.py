#!/usr/bin/env python3
# Prints the X pointer's cursor as WIDTHxHEIGHT+XHOT+YHOT (XFixes through ctypes): the Windows cursor a user
# sees under Wine. libXfixes comes with Wine itself.
import ctypes
import sys


class CursorImage(ctypes.Structure):
    _fields_ = [(name, ctypes.c_short) for name in ("x", "y")] + \
               [(name, ctypes.c_ushort) for name in ("width", "height", "xhot", "yhot")]


x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
xfixes = ctypes.CDLL("libXfixes.so.3")
xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no X display")
shape = xfixes.XFixesGetCursorImage(display).contents
print(f"{shape.width}x{shape.height}+{shape.xhot}+{shape.yhot}")
