#!/usr/bin/env python3
"""Writes the seed corpus of the input-packet fuzz target: well-formed bundles of every device and event
the plug-in handles, plus malformed ones (wrong header, impossible sizes, unterminated text, numbers cut
short, too many segments and arguments). Run from anywhere; rewrites Tests/Fuzz/corpus/input_packet/."""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "input_packet")


def text(value):
    data = value.encode() + b"\0"
    return data + b"\0" * (-len(data) % 4)


def msg(address, tags="", *args):
    """One OSC message; args are already encoded (see i, f, s)."""
    return text(address) + (text(tags) if tags else b"") + b"".join(args)


def i(value):
    return struct.pack(">i", value)


def f(value):
    return struct.pack(">f", value)


s = text


def bundle(*elements):
    return b"#bundle\0" + b"\0" * 8 + b"".join(struct.pack(">I", len(e)) + e for e in elements)


def mouse(event, tags="", *args):
    return msg(f"/korvat/1/Mouse/0/{event}/0", tags, *args)


def key(event, code):
    return msg(f"/korvat/1/Keyboard/0/{event}/0", ",i", i(code))


def touch(event, ident, x, y, force):
    return msg(f"/korvat/1/MultiTouch/0/{event}/0", ",sffff", s(str(ident)), f(x), f(y), f(0.0), f(force))


TIMECODE = msg("/korvat/1/InputTimecode", ",t", b"\x00\x00\x00\x01\x80\x00\x00\x00")
BUTTON = mouse("ButtonDown", ",i", i(0x100000))

WELL_FORMED = {
    "empty": bundle() + struct.pack(">I", 0),
    "mouse_position": bundle(TIMECODE, mouse("Position", ",ff", f(0.5), f(0.5))),
    "mouse_inside": bundle(mouse("IsInside", ",T"), mouse("IsInside", ",F"), mouse("Hover")),
    "mouse_buttons": bundle(mouse("ButtonDown", ",i", i(0x300000)), mouse("ButtonUp", ",i", i(0x1C00000)),
                            mouse("DoubleClick"), mouse("DoubleClick2", ",i", i(0x200000))),
    "mouse_wheel": bundle(mouse("Wheel", ",i", i(-240))),
    "keyboard": bundle(key("KeyDown", 0x41), key("KeyPress", 0x61), key("KeyUp", 0x41)),
    "touch": bundle(touch("TouchAdd", 7, 0.25, 0.75, 1.0), touch("TouchMove", 7, 0.3, 0.7, 0.5),
                    touch("TouchRemove", 7, 0.3, 0.7, 0.0)),
    "mixed": bundle(TIMECODE, mouse("Position", ",ff", f(0.1), f(0.9)), BUTTON, key("KeyDown", 13),
                    touch("TouchMove", 1, 0.5, 0.5, 1.0), touch("TouchMove", 2, 0.6, 0.4, 1.0)),
    "tag_order": bundle(msg("/korvat/1/MultiTouch/0/TouchMove/0", ",fsfii", f(0.5), s(" -12x"), f(0.5), i(1), i(2))),
    "unknown_tags": bundle(msg("/korvat/1/Mouse/0/Wheel/0", ",dbhi", i(120))),
    "other_addresses": bundle(msg("/Korvat/1/Mouse/0/Hover/0"), msg("/korvat/x/Mouse/0/ButtonDown/0", ",i", i(1)),
                              msg("/korvat/1/Pen/0/Hover/0"), msg(""), msg("korvat/1/Mouse/0/Hover/0")),
}

MALFORMED = {
    "header_wrong": b"#bundlE\0" + bundle(BUTTON)[8:],
    "header_only": b"#bundle\0" + b"\0" * 8,
    "size_past_end": bundle(BUTTON)[:-1],
    "second_size_past_end": bundle(BUTTON) + struct.pack(">I", 0xFFFFFFFF) + BUTTON,
    "size_short_of_content": bundle(BUTTON)[:19] + b"\x08" + BUTTON,
    "address_unterminated": bundle(b"/korvat/1/Mouse/0/Hover/0"),
    "tags_unterminated": bundle(text("/korvat/1/Keyboard/0/KeyDown/0") + b",iii"),
    "int_cut": bundle(text("/korvat/1/Keyboard/0/KeyDown/0") + text(",i") + b"\0\0"),
    "string_unterminated": bundle(text("/korvat/1/MultiTouch/0/TouchAdd/0") + text(",s") + b"1234"),
    "timecode_cut": bundle(msg("/korvat/1/InputTimecode", ",t")),
    "segments_eleven": bundle(msg("/korvat/1/Mouse/0/Wheel/0/a/b/c/d/e", ",i", i(120))),
    "ints_eleven": bundle(msg("/korvat/1/Keyboard/0/KeyDown/0", "," + "i" * 11 + "f", *[i(n) for n in range(11)], f(1.0))),
    "strings_eleven": bundle(msg("/korvat/1/MultiTouch/0/TouchAdd/0", "," + "s" * 11, *[s(str(n)) for n in range(11)])),
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name in os.listdir(OUT):
        os.remove(os.path.join(OUT, name))
    for name, data in {**WELL_FORMED, **MALFORMED}.items():
        with open(os.path.join(OUT, name + ".bin"), "wb") as out:
            out.write(data)
    print(f"wrote {len(WELL_FORMED) + len(MALFORMED)} files to {OUT}")


if __name__ == "__main__":
    main()
