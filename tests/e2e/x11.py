"""A thin window onto an X server through libX11 (ctypes, no extra packages).

What the end-to-end tests need and xdotool does not give: the game window by
its title, the pixels it shows (read back with XGetImage, so polling is cheap)
and a polite close request (WM_DELETE_WINDOW), which is what a window
manager's close button sends.
"""

import ctypes
import ctypes.util

_lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")

Window = ctypes.c_ulong
Atom = ctypes.c_ulong

IS_VIEWABLE = 2
Z_PIXMAP = 2
CLIENT_MESSAGE = 33
ALL_PLANES = 0xFFFFFFFF


class _ImageFuncs(ctypes.Structure):
    _fields_ = [
        ("create_image", ctypes.c_void_p),
        ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p)),
        ("get_pixel", ctypes.c_void_p),
        ("put_pixel", ctypes.c_void_p),
        ("sub_image", ctypes.c_void_p),
        ("add_pixel", ctypes.c_void_p),
    ]


class _XImage(ctypes.Structure):
    _fields_ = [
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("xoffset", ctypes.c_int),
        ("format", ctypes.c_int),
        ("data", ctypes.c_void_p),
        ("byte_order", ctypes.c_int),
        ("bitmap_unit", ctypes.c_int),
        ("bitmap_bit_order", ctypes.c_int),
        ("bitmap_pad", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("bytes_per_line", ctypes.c_int),
        ("bits_per_pixel", ctypes.c_int),
        ("red_mask", ctypes.c_ulong),
        ("green_mask", ctypes.c_ulong),
        ("blue_mask", ctypes.c_ulong),
        ("obdata", ctypes.c_void_p),
        ("f", _ImageFuncs),
    ]


class _WindowAttributes(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_int),
        ("y", ctypes.c_int),
        ("width", ctypes.c_int),
        ("height", ctypes.c_int),
        ("border_width", ctypes.c_int),
        ("depth", ctypes.c_int),
        ("visual", ctypes.c_void_p),
        ("root", Window),
        ("c_class", ctypes.c_int),
        ("bit_gravity", ctypes.c_int),
        ("win_gravity", ctypes.c_int),
        ("backing_store", ctypes.c_int),
        ("backing_planes", ctypes.c_ulong),
        ("backing_pixel", ctypes.c_ulong),
        ("save_under", ctypes.c_int),
        ("colormap", ctypes.c_ulong),
        ("map_installed", ctypes.c_int),
        ("map_state", ctypes.c_int),
        ("all_event_masks", ctypes.c_long),
        ("your_event_mask", ctypes.c_long),
        ("do_not_propagate_mask", ctypes.c_long),
        ("override_redirect", ctypes.c_int),
        ("screen", ctypes.c_void_p),
    ]


class _ClientMessage(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", Window),
        ("message_type", Atom),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class _Event(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)

_lib.XOpenDisplay.restype = ctypes.c_void_p
_lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
_lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
_lib.XDefaultRootWindow.restype = Window
_lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_lib.XQueryTree.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(Window), ctypes.POINTER(Window),
                            ctypes.POINTER(ctypes.POINTER(Window)), ctypes.POINTER(ctypes.c_uint)]
_lib.XFetchName.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(ctypes.c_char_p)]
_lib.XFree.argtypes = [ctypes.c_void_p]
_lib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, Window, ctypes.POINTER(_WindowAttributes)]
_lib.XTranslateCoordinates.argtypes = [ctypes.c_void_p, Window, Window, ctypes.c_int, ctypes.c_int,
                                       ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                       ctypes.POINTER(Window)]
_lib.XGetImage.restype = ctypes.POINTER(_XImage)
_lib.XGetImage.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                           ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_lib.XInternAtom.restype = Atom
_lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
_lib.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long,
                            ctypes.POINTER(_Event)]
_lib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_lib.XSetErrorHandler.restype = ctypes.c_void_p
_lib.XSetErrorHandler.argtypes = [_ERROR_HANDLER]


def _ignore_x_error(_display, _event):
    # Xlib's default handler exits the process. A window that vanishes
    # between two calls is an ordinary event here: the call just fails.
    return 0


_KEEP_HANDLER = _ERROR_HANDLER(_ignore_x_error)
_lib.XSetErrorHandler(_KEEP_HANDLER)


def rgb(value):
    """(r, g, b) of a 0xRRGGBB pixel value."""
    return ((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF)


def pixel_value(colour):
    r, g, b = colour[:3]
    return (r << 16) | (g << 8) | b


class Picture:
    """Pixels of a rectangle of the screen, as 0xRRGGBB values, row by row."""

    def __init__(self, left, top, width, height, values):
        self.left = left
        self.top = top
        self.width = width
        self.height = height
        self.values = values

    def at(self, x, y):
        """Pixel value at (x, y) in the coordinates the picture was taken in."""
        return self.values[(y - self.top) * self.width + (x - self.left)]

    def row(self, y, x0=None, x1=None):
        x0 = self.left if x0 is None else x0
        x1 = self.left + self.width if x1 is None else x1
        start = (y - self.top) * self.width
        return self.values[start + x0 - self.left:start + x1 - self.left]

    def save_ppm(self, path):
        """Writes the picture as a binary PPM, for a look after a failure."""
        body = bytearray()
        for value in self.values:
            body += bytes(((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF))
        with open(path, "wb") as file:
            file.write(b"P6\n%d %d\n255\n" % (self.width, self.height))
            file.write(bytes(body))

    def count(self, colour, box=None):
        """How many pixels of box (x0, y0, x1, y1, exclusive ends) have colour."""
        wanted = pixel_value(colour)
        x0, y0, x1, y1 = box or (self.left, self.top, self.left + self.width, self.top + self.height)
        return sum(self.row(y, x0, x1).count(wanted) for y in range(y0, y1))

    def colours(self, box=None):
        """The set of pixel values in box."""
        x0, y0, x1, y1 = box or (self.left, self.top, self.left + self.width, self.top + self.height)
        found = set()
        for y in range(y0, y1):
            found.update(self.row(y, x0, x1))
        return found


class Display:
    def __init__(self, name):
        self.handle = _lib.XOpenDisplay(name.encode())
        if not self.handle:
            raise RuntimeError("cannot open X display " + name)
        self.root = _lib.XDefaultRootWindow(self.handle)

    def close(self):
        if self.handle:
            _lib.XCloseDisplay(self.handle)
            self.handle = None

    def _children(self, window):
        root, parent = Window(), Window()
        children = ctypes.POINTER(Window)()
        count = ctypes.c_uint()
        if not _lib.XQueryTree(self.handle, window, ctypes.byref(root), ctypes.byref(parent),
                               ctypes.byref(children), ctypes.byref(count)):
            return []
        found = [children[i] for i in range(count.value)]
        if children:
            _lib.XFree(children)
        return found

    def _name(self, window):
        name = ctypes.c_char_p()
        if not _lib.XFetchName(self.handle, window, ctypes.byref(name)) or not name.value:
            return None
        text = name.value.decode(errors="replace")
        _lib.XFree(name)
        return text

    def attributes(self, window):
        attributes = _WindowAttributes()
        if not _lib.XGetWindowAttributes(self.handle, window, ctypes.byref(attributes)):
            return None
        return attributes

    def find_viewable_window(self, title):
        """The first viewable window (depth first) whose WM_NAME is title."""
        pending = [self.root]
        while pending:
            window = pending.pop()
            attributes = self.attributes(window)
            if attributes is None:
                continue
            if window != self.root and attributes.map_state == IS_VIEWABLE and self._name(window) == title:
                return window
            pending.extend(self._children(window))
        return None

    def window_box(self, window):
        """(x, y, width, height) of the window on the screen, or None once it is gone."""
        attributes = self.attributes(window)
        if attributes is None:
            return None
        x, y, child = ctypes.c_int(), ctypes.c_int(), Window()
        if not _lib.XTranslateCoordinates(self.handle, window, self.root, 0, 0, ctypes.byref(x),
                                          ctypes.byref(y), ctypes.byref(child)):
            return None
        return (x.value, y.value, attributes.width, attributes.height)

    def grab(self, window, box):
        """A Picture of box (x0, y0, x1, y1) in window coordinates, or None."""
        x0, y0, x1, y1 = box
        image = _lib.XGetImage(self.handle, window, x0, y0, x1 - x0, y1 - y0, ALL_PLANES, Z_PIXMAP)
        if not image:
            return None
        try:
            contents = image.contents
            if contents.bits_per_pixel != 32 or contents.red_mask != 0xFF0000:
                raise RuntimeError("unexpected X pixel format: %d bpp, red mask %#x"
                                   % (contents.bits_per_pixel, contents.red_mask))
            width, height, stride = contents.width, contents.height, contents.bytes_per_line
            raw = ctypes.string_at(contents.data, stride * height)
        finally:
            image.contents.f.destroy_image(ctypes.cast(image, ctypes.c_void_p))
        words = memoryview(raw).cast("I")
        per_line = stride // 4
        if per_line == width:
            values = words.tolist()
        else:
            values = []
            for row in range(height):
                values.extend(words[row * per_line:row * per_line + width].tolist())
        if values and max(values) > 0xFFFFFF:  # a padding byte that is not zero
            values = [v & 0xFFFFFF for v in values]
        return Picture(x0, y0, width, height, values)

    def request_close(self, window):
        """Sends WM_DELETE_WINDOW, as a window manager's close button does."""
        protocols = _lib.XInternAtom(self.handle, b"WM_PROTOCOLS", 0)
        delete = _lib.XInternAtom(self.handle, b"WM_DELETE_WINDOW", 0)
        event = _Event()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = protocols
        event.xclient.format = 32
        event.xclient.data[0] = delete
        event.xclient.data[1] = 0  # CurrentTime
        sent = _lib.XSendEvent(self.handle, window, 0, 0, ctypes.byref(event))
        _lib.XSync(self.handle, 0)
        return bool(sent)
