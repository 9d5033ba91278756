#!/usr/bin/env python3
"""Writes a PowerPoint deck for benchmarking the editor core: N slides, each with a title, a
bulleted body, a few preset shapes with theme colours and gradients, and a picture.

usage: make-deck.py OUT.pptx [SLIDES] [--own-pictures] [--transitions]

--own-pictures gives every slide a picture of its own (400 x 250, about 3 KB compressed, 400 KB
decoded) instead of one shared by all, as in a deck of photographs: 3000 slides make about 14 MB.
--transitions gives the slides a round of fade, push, wipe, cover and split transitions.
"""
import struct
import sys
import zlib
import zipfile

A = 'xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main"'
R = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'
P = 'xmlns:p="http://schemas.openxmlformats.org/presentationml/2006/main"'
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"


def png(width, height):
    """A colourful RGB picture, so decoding and scaling cost something real."""
    rows = b""
    for y in range(height):
        rows += b"\0" + bytes(((x * 7 + y * 3) % 256, (x * y) % 256, (y * 5) % 256)[i] for x in range(width) for i in range(3))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b""))


def own_png(seed, width=400, height=250):
    """A picture that differs per seed and compresses like a simple photograph would not, but
    quickly: every row is the previous one shifted, so zlib finds long matches."""
    base = bytes(((x * (seed % 7 + 1) + seed) % 256, (x * 3 + seed * 5) % 256, (seed * 11 + x // 4) % 256)[i]
                 for x in range(width) for i in range(3))
    rows = b"".join(b"\0" + base[(y * 3 * (seed % 5 + 1)) % len(base):] + base[:(y * 3 * (seed % 5 + 1)) % len(base)]
                    for y in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b""))


TRANSITIONS = ['<p:fade/>', '<p:push dir="u"/>', '<p:wipe dir="r"/>', '<p:cover dir="l"/>',
               '<p:split orient="vert" dir="out"/>']


def rels(body):
    return ('<?xml version="1.0" encoding="UTF-8"?><Relationships '
            'xmlns="http://schemas.openxmlformats.org/package/2006/relationships">' + body + "</Relationships>")


def rel(rid, kind, target):
    return f'<Relationship Id="{rid}" Type="{REL}{kind}" Target="{target}"/>'


def tree(shapes):
    return ('<p:spTree><p:nvGrpSpPr><p:cNvPr id="1" name=""/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr><p:grpSpPr/>'
            + shapes + "</p:spTree>")


def xfrm(x, y, w, h, rot=0):
    return (f'<a:xfrm rot="{rot}"><a:off x="{x}" y="{y}"/><a:ext cx="{w}" cy="{h}"/></a:xfrm>')


def placeholder(ph, body, pos=""):
    return (f'<p:sp><p:nvSpPr><p:cNvPr id="2" name="ph"/><p:cNvSpPr/><p:nvPr>{ph}</p:nvPr></p:nvSpPr>'
            f'<p:spPr>{pos}</p:spPr><p:txBody><a:bodyPr/><a:lstStyle/>{body}</p:txBody></p:sp>')


def shape(i, prst, x, y, fill, rot=0):
    return (f'<p:sp><p:nvSpPr><p:cNvPr id="{i}" name="s{i}"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr>'
            f'{xfrm(x, y, 1600000, 1000000, rot)}<a:prstGeom prst="{prst}"><a:avLst/></a:prstGeom>{fill}</p:spPr>'
            '<p:style><a:lnRef idx="2"><a:schemeClr val="accent1"><a:shade val="50000"/></a:schemeClr></a:lnRef>'
            '<a:fillRef idx="1"><a:schemeClr val="accent1"/></a:fillRef><a:effectRef idx="0"><a:schemeClr val="accent1"/>'
            '</a:effectRef><a:fontRef idx="minor"><a:schemeClr val="lt1"/></a:fontRef></p:style>'
            f'<p:txBody><a:bodyPr anchor="ctr"/><a:lstStyle/><a:p><a:pPr algn="ctr"/><a:r><a:rPr lang="en-US"/>'
            f'<a:t>{prst}</a:t></a:r></a:p></p:txBody></p:sp>')


def main():
    flags = [a for a in sys.argv[1:] if a.startswith("--")]
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    out = args[0]
    count = int(args[1]) if len(args) > 1 else 50
    own = "--own-pictures" in flags
    transitions = "--transitions" in flags
    z = zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED)
    overrides = "".join(
        f'<Override PartName="/ppt/slides/slide{i}.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.presentationml.slide+xml"/>' for i in range(1, count + 1))
    z.writestr("[Content_Types].xml",
               '<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
               '<Default Extension="xml" ContentType="application/xml"/><Default Extension="png" ContentType="image/png"/>'
               '<Override PartName="/ppt/presentation.xml" '
               'ContentType="application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml"/>'
               + overrides + "</Types>")
    z.writestr("_rels/.rels", rels(rel("rId1", "officeDocument", "ppt/presentation.xml")))
    prels = rel("rIdM", "slideMaster", "slideMasters/slideMaster1.xml") + "".join(
        rel(f"rIdS{i}", "slide", f"slides/slide{i}.xml") for i in range(1, count + 1))
    z.writestr("ppt/_rels/presentation.xml.rels", rels(prels))
    ids = "".join(f'<p:sldId id="{255 + i}" r:id="rIdS{i}"/>' for i in range(1, count + 1))
    z.writestr("ppt/presentation.xml",
               f'<?xml version="1.0" encoding="UTF-8"?><p:presentation {A} {R} {P}><p:sldMasterIdLst>'
               f'<p:sldMasterId id="2147483648" r:id="rIdM"/></p:sldMasterIdLst><p:sldIdLst>{ids}</p:sldIdLst>'
               '<p:sldSz cx="12192000" cy="6858000"/><p:notesSz cx="6858000" cy="9144000"/><p:defaultTextStyle>'
               '<a:lvl1pPr><a:defRPr sz="1800"><a:solidFill><a:schemeClr val="tx1"/></a:solidFill>'
               '<a:latin typeface="+mn-lt"/></a:defRPr></a:lvl1pPr></p:defaultTextStyle></p:presentation>')
    scheme = "".join(f"<a:{n}><a:srgbClr val=\"{v}\"/></a:{n}>" for n, v in [
        ("dk1", "000000"), ("lt1", "FFFFFF"), ("dk2", "44546A"), ("lt2", "E7E6E6"), ("accent1", "4472C4"),
        ("accent2", "ED7D31"), ("accent3", "A5A5A5"), ("accent4", "FFC000"), ("accent5", "5B9BD5"),
        ("accent6", "70AD47"), ("hlink", "0563C1"), ("folHlink", "954F72")])
    phfill = '<a:solidFill><a:schemeClr val="phClr"/></a:solidFill>'
    z.writestr("ppt/theme/theme1.xml",
               f'<?xml version="1.0" encoding="UTF-8"?><a:theme {A} name="Bench"><a:themeElements>'
               f'<a:clrScheme name="Office">{scheme}</a:clrScheme><a:fontScheme name="Office"><a:majorFont>'
               '<a:latin typeface="Calibri Light"/></a:majorFont><a:minorFont><a:latin typeface="Calibri"/></a:minorFont>'
               f'</a:fontScheme><a:fmtScheme name="Office"><a:fillStyleLst>{phfill * 3}</a:fillStyleLst><a:lnStyleLst>'
               f'<a:ln w="6350">{phfill}</a:ln><a:ln w="12700">{phfill}</a:ln><a:ln w="19050">{phfill}</a:ln>'
               f'</a:lnStyleLst><a:effectStyleLst/><a:bgFillStyleLst>{phfill * 3}</a:bgFillStyleLst></a:fmtScheme>'
               '</a:themeElements></a:theme>')
    z.writestr("ppt/slideMasters/_rels/slideMaster1.xml.rels",
               rels(rel("rId1", "slideLayout", "../slideLayouts/slideLayout1.xml") + rel("rId2", "theme", "../theme/theme1.xml")))
    master_shapes = (placeholder('<p:ph type="title"/>', "<a:p/>", xfrm(838200, 365125, 10515600, 1325563)) +
                     placeholder('<p:ph type="body" idx="1"/>', "<a:p/>", xfrm(838200, 1825625, 10515600, 4351338)) +
                     '<p:sp><p:nvSpPr><p:cNvPr id="9" name="band"/><p:cNvSpPr/><p:nvPr/></p:nvSpPr><p:spPr>'
                     + xfrm(0, 6600000, 12192000, 258000) + '<a:prstGeom prst="rect"/><a:solidFill><a:schemeClr '
                     'val="accent1"><a:lumMod val="75000"/></a:schemeClr></a:solidFill></p:spPr></p:sp>')
    z.writestr("ppt/slideMasters/slideMaster1.xml",
               f'<?xml version="1.0" encoding="UTF-8"?><p:sldMaster {A} {R} {P}><p:cSld><p:bg><p:bgPr><a:gradFill>'
               '<a:gsLst><a:gs pos="0"><a:schemeClr val="bg1"/></a:gs><a:gs pos="100000"><a:schemeClr val="bg2"/></a:gs>'
               '</a:gsLst><a:lin ang="5400000"/></a:gradFill></p:bgPr></p:bg>' + tree(master_shapes) +
               '</p:cSld><p:clrMap bg1="lt1" tx1="dk1" bg2="lt2" tx2="dk2" accent1="accent1" accent2="accent2" '
               'accent3="accent3" accent4="accent4" accent5="accent5" accent6="accent6" hlink="hlink" folHlink="folHlink"/>'
               '<p:sldLayoutIdLst><p:sldLayoutId id="2147483649" r:id="rId1"/></p:sldLayoutIdLst><p:txStyles><p:titleStyle>'
               '<a:lvl1pPr><a:defRPr sz="4400"><a:solidFill><a:schemeClr val="tx2"/></a:solidFill><a:latin typeface="+mj-lt"/>'
               '</a:defRPr></a:lvl1pPr></p:titleStyle><p:bodyStyle><a:lvl1pPr marL="228600" indent="-228600">'
               '<a:buFont typeface="Arial"/><a:buChar char="&#8226;"/><a:defRPr sz="2800"/></a:lvl1pPr>'
               '<a:lvl2pPr marL="685800" indent="-228600"><a:buChar char="&#8211;"/><a:defRPr sz="2400"/></a:lvl2pPr>'
               '</p:bodyStyle><p:otherStyle/></p:txStyles></p:sldMaster>')
    z.writestr("ppt/slideLayouts/_rels/slideLayout1.xml.rels", rels(rel("rId1", "slideMaster", "../slideMasters/slideMaster1.xml")))
    z.writestr("ppt/slideLayouts/slideLayout1.xml",
               f'<?xml version="1.0" encoding="UTF-8"?><p:sldLayout {A} {R} {P}><p:cSld>'
               + tree(placeholder('<p:ph type="title"/>', "<a:p><a:r><a:t>Click to edit title</a:t></a:r></a:p>") +
                      placeholder('<p:ph idx="1"/>', "<a:p><a:r><a:t>Click to edit text</a:t></a:r></a:p>",
                                  xfrm(838200, 1825625, 6000000, 4351338)))
               + "</p:cSld></p:sldLayout>")
    if not own:
        z.writestr("ppt/media/image1.png", png(640, 400))
    for i in range(1, count + 1):
        bullets = "".join(
            f'<a:p><a:pPr lvl="{k % 2}"/><a:r><a:rPr lang="en-US"/><a:t>Point {k} of slide {i}: some words that make '
            'the line long enough to wrap at least once in the box</a:t></a:r></a:p>' for k in range(1, 5))
        shapes = (placeholder('<p:ph type="title"/>', f'<a:p><a:r><a:rPr lang="en-US"/><a:t>Slide {i}: benchmark deck</a:t></a:r></a:p>')
                  + placeholder('<p:ph idx="1"/>', bullets)
                  + shape(10, "roundRect", 7300000, 1900000, "")
                  + shape(11, "ellipse", 9400000, 1900000, '<a:gradFill><a:gsLst><a:gs pos="0"><a:schemeClr val="accent2"/></a:gs>'
                          '<a:gs pos="100000"><a:schemeClr val="accent2"><a:lumMod val="50000"/></a:schemeClr></a:gs></a:gsLst>'
                          '<a:lin ang="2700000"/></a:gradFill>')
                  + shape(12, "rightArrow", 7300000, 3200000, "", rot=600000)
                  + f'<p:pic><p:nvPicPr><p:cNvPr id="13" name="pic"/><p:cNvPicPr/><p:nvPr/></p:nvPicPr><p:blipFill>'
                  '<a:blip r:embed="rIdP"/><a:srcRect l="10000" r="10000"/><a:stretch><a:fillRect/></a:stretch></p:blipFill>'
                  f'<p:spPr>{xfrm(9400000, 3300000, 2400000, 1500000)}<a:prstGeom prst="rect"/></p:spPr></p:pic>')
        picture = f"image{i}.png" if own else "image1.png"
        if own:
            z.writestr(f"ppt/media/{picture}", own_png(i), zipfile.ZIP_STORED)
        z.writestr(f"ppt/slides/_rels/slide{i}.xml.rels",
                   rels(rel("rIdL", "slideLayout", "../slideLayouts/slideLayout1.xml") + rel("rIdP", "image", f"../media/{picture}")))
        transition = f'<p:transition spd="med">{TRANSITIONS[i % len(TRANSITIONS)]}</p:transition>' if transitions else ""
        z.writestr(f"ppt/slides/slide{i}.xml",
                   f'<?xml version="1.0" encoding="UTF-8"?><p:sld {A} {R} {P}><p:cSld>{tree(shapes)}</p:cSld>'
                   f'{transition}</p:sld>')
    z.close()


if __name__ == "__main__":
    main()
