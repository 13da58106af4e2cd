Hello,

This message was written with the help of Quillet.
Planned: %WHOIS("192.0.2.1")
Not a macro of Quillet: %SIGNATURE, left as written.
A percent sign: 100%%.
