#!/usr/bin/env python3
# make_archives.py -- writes the archive tests' inputs into the folder given: the original files,
# and archives of them made by Info-ZIP zip, 7-Zip, gzip and Python's zipfile, each with a .names
# file of the names a listing must show, one a line.
import io, os, random, struct, subprocess, sys, zipfile, zlib

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
os.chdir(out)
rng = random.Random(1)
# An image that deflate shrinks but not to nothing: runs and text-like bytes, 300,000 bytes (more
# than the 256 KiB an image needs).
image = bytes(rng.choice(b"\0\0\0\xffABCDEFGH") for _ in range(300000))
files = {"image.bin": image, "patch.ips": b"PATCH\0\0\x10\0\3abcEOF", "readme.txt": b"Apply it.\n" * 50,
         "picture.bmp": bytes(reversed(image)), "short.bin": image[:0x3FFFF], "exact.bin": image[:0x40000],
         "big.ips": b"PATCH" + image}
for name, data in files.items():
    open(name, "wb").write(data)

def names(archive, *lines):
    open(archive + ".names", "w", encoding="utf-8").write("".join(line + "\n" for line in lines))

def run(*command, stdin=None): # what the tool writes on standard output
    return subprocess.run(command, check=True, stdin=stdin, stdout=subprocess.PIPE).stdout

for f in os.listdir("."):
    if f.endswith((".zip", ".gz")):
        os.remove(f) # zip and 7z add to an archive that is there
run("zip", "-q", "infozip.zip", "image.bin", "patch.ips", "readme.txt")
run("zip", "-q", "-0", "infozip_stored.zip", "image.bin", "readme.txt")
run("zip", "-q", "-fz", "infozip_zip64.zip", "image.bin", "patch.ips")
run("zip", "-q", "infozip_stream.zip", "-", stdin=open("image.bin", "rb")) # descriptor, Zip64 local field
# The choice's edges: one byte short of an image, an image exactly, a patch as long as an image, and
# a readme that cannot be unpacked (bzip2): only a patch could be that.
run("zip", "-q", "edges.zip", "short.bin", "exact.bin", "big.ips")
run("zip", "-q", "-Z", "bzip2", "edges.zip", "readme.txt")
names("infozip.zip", "image.bin", "patch.ips", "readme.txt")
for archive, method in [("7z_deflate", "Deflate"), ("7z_deflate64", "Deflate64")]:
    run("7z", "a", "-tzip", "-mm=" + method, archive + ".zip", "image.bin", "patch.ips")
run("7z", "a", "-tzip", "-pSECRET", "7z_encrypted.zip", "image.bin", "readme.txt")
run("7z", "a", "-tzip", "7z_two_images.zip", "image.bin", "picture.bmp", "readme.txt")
names("7z_two_images.zip", "image.bin", "picture.bmp", "readme.txt")
open("named.gz", "wb").write(run("gzip", "-N", "-c", "image.bin"))
open("unnamed.gz", "wb").write(run("gzip", "-c", stdin=open("patch.ips", "rb")))
names("named.gz", "image.bin")
names("unnamed.gz", "(no name)")
# Every optional header part gzip's own tool never writes: extra field, a Latin-1 name, a comment and
# the header's CRC.
header = b"\x1f\x8b\x08\x1e\0\0\0\0\0\3" + struct.pack("<H", 4) + b"AB\0\0" + b"caf\xe9.bin\0" + b"made\0"
deflate = zlib.compressobj(9, zlib.DEFLATED, -15)
body = deflate.compress(image) + deflate.flush()
open("all_parts.gz", "wb").write(header + struct.pack("<H", zlib.crc32(header) & 0xFFFF) + body +
                                 struct.pack("<II", zlib.crc32(image), len(image)))
names("all_parts.gz", "café.bin")

# Every value in Zip64 fields: sizes and offsets in the central records, the end in a Zip64 record.
limits = zipfile.ZIP64_LIMIT, zipfile.ZIP_FILECOUNT_LIMIT
zipfile.ZIP64_LIMIT, zipfile.ZIP_FILECOUNT_LIMIT = 0, 0
with zipfile.ZipFile("py_zip64_all.zip", "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("readme.txt", files["readme.txt"])
    z.writestr("image.bin", image)
zipfile.ZIP64_LIMIT, zipfile.ZIP_FILECOUNT_LIMIT = limits

# A name's bytes replaced after writing (zipfile writes only ASCII or flagged UTF-8), in the local
# header and the central record, the UTF-8 flag cleared with them: a name in code page 437, and
# UTF-8 as macOS writes it, without the flag.
def rename(data, placeholder, raw):
    data = bytearray(data)
    for at in (data.find(placeholder), data.rfind(placeholder)):
        central = data[at - 46:at - 42] == b"PK\1\2"
        data[at - (46 - 9 if central else 30 - 7)] &= 0xF7 # bit 11 of the flags, in their second byte
        data[at:at + len(raw)] = raw
    return bytes(data)

cp437 = [bytes(range(0x80, 0xC0)), bytes(range(0xC0, 0x100))] # in two: 128 would pass 255 bytes of UTF-8
macos = "Jeu traduit e\u0301 \u30b2\u30fc\u30e0.ips".encode()
buffer = io.BytesIO()
with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as z:
    z.writestr("A" * 64, b"437")
    z.writestr("C" * 64, b"437")
    z.writestr("B" * len(macos), files["patch.ips"])
    z.writestr("\u30b2\u30fc\u30e0/image.bin", image)
    for placeholder, crc in ("D", zlib.crc32(b"jeu \x82.txt")), ("E", 0): # Info-ZIP's UTF-8 name: of
        info = zipfile.ZipInfo(placeholder * 9)                            # this name, of an older one
        utf8 = "jeu \u30b2.txt".encode()
        info.extra = struct.pack("<HHBI", 0x7075, 5 + len(utf8), 1, crc) + utf8
        z.writestr(info, b"")
data = rename(rename(buffer.getvalue(), b"A" * 64, cp437[0]), b"C" * 64, cp437[1])
data = rename(rename(data, b"D" * 9, b"jeu \x82.txt"), b"E" * 9, b"jeu \x82.txt")
open("py_names.zip", "wb").write(rename(data, b"B" * len(macos), macos))
names("py_names.zip", cp437[0].decode("cp437"), cp437[1].decode("cp437"), macos.decode(),
      "\u30b2\u30fc\u30e0/image.bin", "jeu \u30b2.txt", "jeu \u00e9.txt")

# As macOS's Archive Utility packs a folder: written as a stream (sizes in descriptors behind the
# data), the folder's own entry, and __MACOSX/ with "._" files beside it; a Finder .DS_Store.
class stream(io.RawIOBase):
    def __init__(self): self.data = bytearray()
    def writable(self): return True
    def write(self, b): self.data += b; return len(b)
archive = stream()
with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
    for name, data in [("Game/", b""), ("Game/image.bin", image), ("Game/.DS_Store", b"\0" * 6148),
                       ("__MACOSX/", b""), ("__MACOSX/Game/", b""), ("__MACOSX/Game/._image.bin", b"\0" * 4096),
                       ("Game/._readme.txt", b"\0" * 300000), ("Game/readme.txt", files["readme.txt"])]:
        z.writestr(name, data)
open("macos.zip", "wb").write(bytes(archive.data))
names("macos.zip", "Game/image.bin", "Game/readme.txt")
zipfile.ZipFile("empty.zip", "w").close()
for archive, count in ("full.zip", 256), ("many.zip", 257): # as many entries as are listed, one more
    with zipfile.ZipFile(archive, "w") as z:
        [z.writestr("f%03d.txt" % i, b"") for i in range(count)]

