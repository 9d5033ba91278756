<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>KX::PresentationViewer</name>
    <message>
        <source>Full screen</source>
        <translation>Full Screen Mode</translation>
    </message>
    <message>
        <source>Out of full screen</source>
        <translation>Exit Full Screen Mode</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Pointer on</source>
        <translation>Pointer</translation>
    </message>
    <message>
        <source>Pointer off</source>
        <translation>Pointer</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Save As...</translation>
    </message>
</context>
<context>
    <name>KX::TipsScreen</name>
    <message>
        <source>Move mouse</source>
        <translation>Move pointer</translation>
    </message>
    <message>
        <source>Okay, I got it!</source>
        <translation>Okay, I&apos;ve got it!</translation>
    </message>
    <message>
        <source>Switch on/off</source>
        <translation>Switch on/off</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot;color:#a9a9a9;&quot;&gt;to the left side of the screen to&lt;/span&gt;&lt;br&gt;&lt;span style=&quot;color:#ffffff;&quot;&gt;Navigate &lt;/span&gt;&lt;span style=&quot;color:#a9a9a9;&quot;&gt;through the slides using filmstrip&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot;color:#a9a9a9;&quot;&gt;to the left side of the screen to&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot;color:#ffffff;&quot;&gt;Navigate &lt;/span&gt;&lt;span style=&quot;color:#a9a9a9;&quot;&gt;through the slides using the filmstrip&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot;color:#a9a9a9;&quot;&gt;interactive &lt;/span&gt;&lt;span style=&quot;color:#ffffff;&quot;&gt;Pointer &lt;/span&gt;&lt;span style=&quot;color:#a9a9a9;&quot;&gt;using the toolbar at the bottom of the screen&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;&lt;span style=&quot;color:#a9a9a9;&quot;&gt;interactive &lt;/span&gt;&lt;span style=&quot;color:#ffffff;&quot;&gt;Pointer &lt;/span&gt;&lt;span style=&quot;color:#a9a9a9;&quot;&gt;using the toolbar at the bottom&lt;/span&gt;&lt;/p&gt;&lt;p&gt;&lt;span style=&quot;color:#a9a9a9;&quot;&gt;of the screen&lt;/span&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>WelcomeScreen</name>
    <message>
        <source>OPEN...</source>
        <translation>OPEN...</translation>
    </message>
</context>
</TS>
