#!/usr/bin/python3
"""Reads the resources of a built Quenmar.exe and checks them field by field: the
two dialog templates, icon group 128 and its images, the version block and the
manifest, and the language of each. The captions and text lines that the tests
expect the notices to show come from the tests' NoticeTexts.h, so the templates are
checked against the very texts the other tests use.

    check_resources.py path/to/Quenmar.exe path/to/NoticeTexts.h
"""
import re
import struct
import sys
import unittest
import xml.etree.ElementTree as ET

import pefile

EXE = None
RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 14, 16, 24
JAPANESE, ENGLISH_US = 0x0411, 0x0409

BUTTON, STATIC = 0x0080, 0x0082


def expected_texts(path):
    """name -> its wide string literals, for each constant of NoticeTexts.h."""
    with open(path, encoding="utf-8") as f:
        source = f.read()
    constants = re.findall(r'constexpr \w+ (k\w+)(?:\[\])?\s*=?\s*(\{.*?\}|L"[^"]*");', source,
                           re.S)
    return {name: re.findall(r'L"([^"]*)"', value) for name, value in constants}


# (id, class, text, style, (x, y, cx, cy))
def template_102(texts):
    (caption,), (line1, line2) = texts["kServicePackCaption"], texts["kServicePackTemplate"]
    return dict(
        style=0x90C80042, ex_style=0x00000088, rect=(0, 0, 318, 68), caption=caption,
        font=(12, 400, 0, 128, "ＭＳ ゴシック"),
        controls=[
            (2, BUTTON, "閉じる", 0x50018000, (216, 46, 79, 14)),
            (1004, BUTTON, "この案内を今後表示しない", 0x50010003, (32, 47, 112, 10)),
            (1005, STATIC, line1, 0x50020000, (30, 12, 282, 8)),
            (1006, STATIC, line2, 0x50020000, (30, 24, 282, 8)),
            (1010, STATIC, "", 0x50000003, (8, 13, 20, 20)),
        ])


def template_129(texts):
    (caption,), (line1, line2) = texts["kEndOfSupportCaption"], texts["kEndOfSupport"]
    return dict(
        style=0x80C80040, ex_style=0x00000080, rect=(0, 0, 263, 122), caption=caption,
        font=(12, 400, 0, 128, "ＭＳ Ｐゴシック"),
        controls=[
            (2, BUTTON, "閉じる", 0x50010000, (192, 100, 63, 14)),
            (1000, STATIC, "", 0x58020000, (0, 0, 263, 29)),
            (1001, STATIC, "Windows Vistaを", 0x50020001, (0, 4, 263, 8)),
            (1002, STATIC, "ご利用のお客様へ重要なお知らせ", 0x50020001, (0, 15, 263, 8)),
            (1005, STATIC, line1, 0x50020000, (16, 42, 147, 8)),
            (1006, STATIC, line2, 0x50020000, (16, 53, 157, 8)),
            (1007, STATIC, "マイクロソフト社から更新プログラムの提供が終了いたしますので、",
             0x50020000, (16, 69, 235, 8)),
            (1008, STATIC, "安全にご利用いただくために、最新環境へ移行されることをお薦めします。",
             0x50020000, (16, 80, 236, 8)),
            (1004, BUTTON, "この案内を今後表示しない", 0x50010003, (14, 101, 111, 10)),
        ])


class Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def align(self, n):
        self.pos = (self.pos + n - 1) // n * n

    def text(self):
        end = self.pos
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        s = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return s

    def sz_or_ord(self):
        first = struct.unpack_from("<H", self.data, self.pos)[0]
        if first == 0xFFFF:
            self.pos += 2
            return self.take("H")
        return self.text()


def parse_dialog_ex(data):
    r = Reader(data)
    d = {}
    version, signature, d["help_id"], d["ex_style"], d["style"], count = r.take("HHIIIH")
    d["version_signature"] = (version, signature)
    d["rect"] = r.take("hhhh")
    d["menu"], d["class"], d["caption"] = r.sz_or_ord(), r.sz_or_ord(), r.text()
    points, weight, italic, charset = r.take("HHBB")
    d["font"] = (points, weight, italic, charset, r.text())
    d["controls"] = []
    for _ in range(count):
        r.align(4)
        help_id, ex_style, style = r.take("III")
        rect = r.take("hhhh")
        cid = r.take("I")
        cls, text = r.sz_or_ord(), r.sz_or_ord()
        extra = r.take("H")
        r.pos += extra
        d["controls"].append(dict(help_id=help_id, ex_style=ex_style, style=style, rect=rect,
                                  id=cid, cls=cls, text=text, extra=extra))
    return d


class Resources:
    """type -> id -> [(language, bytes)]"""

    def __init__(self, path):
        self.pe = pefile.PE(path)
        self.table = {}
        for t in self.pe.DIRECTORY_ENTRY_RESOURCE.entries:
            for e in t.directory.entries:
                for lang in e.directory.entries:
                    rva, size = lang.data.struct.OffsetToData, lang.data.struct.Size
                    data = self.pe.get_data(rva, size)
                    self.table.setdefault(t.id, {}).setdefault(e.id if e.id is not None
                                                               else str(e.name), []).append(
                        (lang.id, data))

    def one(self, rtype, rid):
        entries = self.table.get(rtype, {}).get(rid, [])
        if len(entries) != 1:
            raise AssertionError(f"resource {rtype}/{rid}: {len(entries)} languages")
        return entries[0]


RES = None
TEXTS = None


class DialogTemplates(unittest.TestCase):
    def check_template(self, rid, expected):
        lang, data = RES.one(RT_DIALOG, rid)
        self.assertEqual(JAPANESE, lang)
        d = parse_dialog_ex(data)
        self.assertEqual((1, 0xFFFF), d["version_signature"])
        self.assertEqual(0, d["help_id"])
        self.assertEqual(hex(expected["style"]), hex(d["style"]))
        self.assertEqual(hex(expected["ex_style"]), hex(d["ex_style"]))
        self.assertEqual(expected["rect"], d["rect"])
        self.assertEqual("", d["menu"])
        self.assertEqual("", d["class"])
        self.assertEqual(expected["caption"], d["caption"])
        self.assertEqual(expected["font"], d["font"])
        self.assertEqual(len(expected["controls"]), len(d["controls"]))
        for want, got in zip(expected["controls"], d["controls"]):
            cid, cls, text, style, rect = want
            with self.subTest(template=rid, control=cid):
                self.assertEqual(cid, got["id"])
                self.assertEqual(cls, got["cls"])
                self.assertEqual(text, got["text"])
                self.assertEqual(hex(style), hex(got["style"]))
                self.assertEqual(rect, got["rect"])
                self.assertEqual((0, 0, 0), (got["ex_style"], got["help_id"], got["extra"]))

    def test_service_pack_notice_102(self):
        self.check_template(102, template_102(TEXTS))

    def test_end_of_support_notice_129(self):
        self.check_template(129, template_129(TEXTS))

    def test_only_these_two_templates(self):
        self.assertEqual({102, 129}, set(RES.table.get(RT_DIALOG, {})))


class IconGroup(unittest.TestCase):
    ORDER = [(48, 4), (32, 4), (16, 4), (48, 8), (32, 8), (16, 8), (48, 32), (32, 32), (16, 32)]

    def test_nine_images_in_order_as_uncompressed_dibs_with_mask(self):
        self.assertEqual([128], list(RES.table.get(RT_GROUP_ICON, {})))
        lang, group = RES.one(RT_GROUP_ICON, 128)
        self.assertEqual(JAPANESE, lang)
        reserved, rtype, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((0, 1, 9), (reserved, rtype, count))
        for i, (size, bits) in enumerate(self.ORDER):
            w, h, colours, _, planes, bit_count, nbytes, icon_id = struct.unpack_from(
                "<BBBBHHIH", group, 6 + 14 * i)
            with self.subTest(image=i + 1, size=size, bits=bits):
                self.assertEqual((size, size, bits, 1), (w, h, bit_count, planes))
                self.assertEqual((1 << bits) & 0xFF if bits < 8 else 0, colours)
                ilang, image = RES.one(RT_ICON, icon_id)
                self.assertEqual(JAPANESE, ilang)
                self.assertEqual(nbytes, len(image))
                (hsize, bw, bh, bplanes, bbits, compression, _, _, _, used,
                 _) = struct.unpack_from("<IiiHHIIiiII", image, 0)
                self.assertEqual((40, size, 2 * size, 1, bits, 0),
                                 (hsize, bw, bh, bplanes, bbits, compression))
                palette = 4 * (used or (1 << bits)) if bits <= 8 else 0
                xor = ((size * bits + 31) // 32 * 4) * size
                mask = ((size + 31) // 32 * 4) * size
                self.assertEqual(40 + palette + xor + mask, len(image))
                if bits == 32:
                    alphas = {image[40 + 4 * p + 3] for p in range(size * size)}
                    self.assertIn(0, alphas)  # transparent corners
                    self.assertIn(255, alphas)
                    self.assertTrue(alphas - {0, 255}, "edges are smoothed by alpha")


class VersionBlock(unittest.TestCase):
    def test_fixed_part(self):
        self.assertEqual(JAPANESE, RES.one(RT_VERSION, 1)[0])
        f = RES.pe.VS_FIXEDFILEINFO[0]
        self.assertEqual((2014 << 16, 5), (f.FileVersionMS, f.FileVersionLS))
        self.assertEqual((2014 << 16, 5), (f.ProductVersionMS, f.ProductVersionLS))
        self.assertEqual((0x3F, 0, 0x4, 1, 0),
                         (f.FileFlagsMask, f.FileFlags, f.FileOS, f.FileType, f.FileSubtype))

    def test_one_japanese_string_table_with_the_keys_in_order(self):
        tables, translations = [], []
        for info in RES.pe.FileInfo[0]:
            if info.Key == b"StringFileInfo":
                tables += info.StringTable
            elif info.Key == b"VarFileInfo":
                for var in info.Var:
                    for value in var.entry.values():
                        translations.append(tuple(int(part, 16) for part in value.split()))
        self.assertEqual([b"041103a4"], [t.LangID for t in tables])
        entries = tables[0].entries
        self.assertEqual([b"CompanyName", b"FileDescription", b"FileVersion", b"InternalName",
                          b"LegalCopyright", b"OriginalFilename", b"ProductName",
                          b"ProductVersion"], list(entries))
        for key, value in [(b"FileVersion", b"2014.0.0.5"), (b"ProductVersion", b"2014.0.0.5"),
                           (b"InternalName", b"Quenmar.exe"),
                           (b"OriginalFilename", b"Quenmar.exe")]:
            self.assertEqual(value, entries[key])
        for key in (b"CompanyName", b"FileDescription", b"LegalCopyright", b"ProductName"):
            self.assertTrue(entries[key], key)
        self.assertEqual([(0x0411, 932)], translations)


class Manifest(unittest.TestCase):
    def test_invoker_dpi_aware_and_nothing_else(self):
        self.assertEqual([1], list(RES.table.get(RT_MANIFEST, {})))
        lang, data = RES.one(RT_MANIFEST, 1)
        self.assertEqual(ENGLISH_US, lang)
        root = ET.fromstring(data)
        levels = [e for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
        self.assertEqual(1, len(levels))
        self.assertEqual({"level": "asInvoker", "uiAccess": "false"}, levels[0].attrib)
        dpi = [e for e in root.iter() if e.tag.endswith("}dpiAware")]
        self.assertEqual(["true"], [e.text.strip() for e in dpi])
        tags = {e.tag.split("}")[-1] for e in root.iter()}
        self.assertFalse(tags & {"dependency", "dependentAssembly", "assemblyIdentity",
                                 "compatibility", "supportedOS"}, tags)

    def test_every_other_resource_is_japanese(self):
        for rtype, ids in RES.table.items():
            if rtype == RT_MANIFEST:
                continue
            for rid, entries in ids.items():
                with self.subTest(type=rtype, id=rid):
                    self.assertEqual([JAPANESE], [lang for lang, _ in entries])


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    RES = Resources(sys.argv.pop(1))
    TEXTS = expected_texts(sys.argv.pop(1))
    unittest.main(verbosity=1)
