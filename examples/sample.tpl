Hello,

This message was written with the help of %QLVERSION.
Today is day %DAYOFYEAR of the year, in ISO week %ISOWEEKOFYEAR; the local time zone is %LOCALTZ.
Easter Sunday 2027 falls on %EASTERSUNDAY(2027).
Search the archive: https://archive.example/search?q=%ENCODEURL("mail & more")
The MD5 of "abc" is %HASH(abc), its CRC32B %HASH(crc32b, "abc").
Planned: %WHOIS("192.0.2.1")
Not a macro of Quillet: %SIGNATURE, left as written.
A percent sign: 100%%.
