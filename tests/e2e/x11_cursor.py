#!/usr/bin/env python3
# Prints the X pointer's cursor picture as WIDTHxHEIGHT+XHOT+YHOT (XFixes, through ctypes): what a user sees
# of a Windows cursor under Wine.
import ctypes
import sys


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.c_void_p)]


x11 = ctypes.CDLL("libX11.so.6")
xfixes = ctypes.CDLL("libXfixes.so.3")  # a dependency of Wine itself
x11.XOpenDisplay.restype = ctypes.c_void_p
xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
display = x11.XOpenDisplay(None)
image = xfixes.XFixesGetCursorImage(display) if display else None
if not image:
    sys.exit(1)
shape = image.contents
print(f"{shape.width}x{shape.height}+{shape.xhot}+{shape.yhot}")
