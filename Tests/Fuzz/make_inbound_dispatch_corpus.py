#!/usr/bin/env python3
"""Writes the seed corpus of the inbound-dispatch fuzz target: one well-formed message per inbound tag,
plus malformed ones (cut short, impossible lengths, unterminated names). Run from anywhere; rewrites
Tests/Fuzz/corpus/inbound_dispatch/."""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "inbound_dispatch")
GUID = bytes(range(0x10, 0x20))
IDENT = bytes(range(0x40, 0x50))


def f32s(*values):
    return b"".join(struct.pack("<f", v) for v in values)


def matrix(base):
    return f32s(*[base + i for i in range(16)])


WELL_FORMED = {
    "camr": b"CAMR" + matrix(1.0),
    "proj": b"PROJ" + matrix(0.5),
    "uver": b"UVER" + struct.pack("<iii", 5, 5, 3),
    "view": b"VIEW" + struct.pack("<6i", 0, 0, 1920, 1080, 1920, 1080),
    "lpha": b"LPHA" + struct.pack("<i", 2),
    "clck": b"CLCK" + struct.pack("<qfii", 1234, 20.5, 60000, 1001) + b"\0" * 4,
    "resn": b"RESN" + struct.pack("<ii", 1920, 1080),
    "qlty": b"QLTY" + struct.pack("<i", 3),
    "itac": b"ITAC" + struct.pack("<i", 16) + b"#bundle\0" + b"\0" * 8,
    "evnt": b"EVNT" + struct.pack("<IIi", 0x1234, 0, 7),
    "vint": b"VINT" + struct.pack("<Ii", 7, 3),
    "vflt": b"VFLT" + struct.pack("<If", 8, 1.5),
    "vbol": b"VBOL" + struct.pack("<IB", 9, 1),
    "vstr": b"VSTR" + struct.pack("<I", 10) + "h\u00e9llo".encode(),
    "aint": b"AINT" + struct.pack("<I3i", 11, 1, 2, 3),
    "aflt": b"AFLT" + struct.pack("<I2f", 12, 0.25, -4.0),
    "abol": b"ABOL" + struct.pack("<I", 13) + b"\x01\x00\x01",
    "astr": b"ASTR" + struct.pack("<I", 14) + b"one\0two\0",
    "verr": b"VERR" + b"host error text\n",
    "mtxv": b"MTXV" + struct.pack("<I", 15) + IDENT + matrix(2.0),
    "mtxv_identifier_only": b"MTXV" + struct.pack("<I", 0) + IDENT + matrix(3.0),
    "fldq": b"FLD?" + GUID + b"node name\0",
    # The fuzz target writes its open request's GUID over the first 16 payload bytes of every "FLDS".
    "flds": b"FLDS" + GUID + b"\x01\x01speed\0\x02\x00enabled\0",
}

MALFORMED = {
    "short_empty": b"",
    "short_three": b"VIN",
    "camr_cut": b"CAMR" + matrix(1.0)[:-1],
    "clck_cut": b"CLCK" + b"\0" * 23,
    "resn_cut": b"RESN" + b"\0" * 7,
    "vint_cut": b"VINT" + b"\x07\0\0\0\x03\0\0",
    "vbol_id_only": b"VBOL" + b"\x01\0\0\0",
    "mtxv_cut": b"MTXV" + struct.pack("<I", 1) + IDENT + matrix(0.0)[:-1],
    "itac_negative": b"ITAC" + struct.pack("<i", -1) + b"abc",
    "itac_too_long": b"ITAC" + struct.pack("<i", 100) + b"abc",
    "itac_cut": b"ITAC" + b"\x01\0",
    "fldq_unterminated": b"FLD?" + GUID + b"no terminator",
    "fldq_cut": b"FLD?" + GUID[:15],
    "flds_unterminated": b"FLDS" + GUID + b"\x01\x01name",
    "flds_lone_type": b"FLDS" + GUID + b"\x01\x00a\0\x05",
    "evnt_short": b"EVNT" + b"\x01\0\0\0\0\0\0\0",
    "aint_ragged": b"AINT" + struct.pack("<I", 1) + b"\x01\0\0\0\x02\0\0\0\xff\xff",
    "astr_empty": b"ASTR" + struct.pack("<I", 1),
    "unknown_tag": b"ZZZZ" + b"\0" * 12,
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name in os.listdir(OUT):
        os.remove(os.path.join(OUT, name))
    for name, data in {**WELL_FORMED, **MALFORMED}.items():
        with open(os.path.join(OUT, name + ".bin"), "wb") as f:
            f.write(data)
    print(f"wrote {len(WELL_FORMED) + len(MALFORMED)} files to {OUT}")


if __name__ == "__main__":
    main()
