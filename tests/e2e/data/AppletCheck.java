import java.applet.Applet;
import java.applet.AppletContext;
import java.applet.AppletStub;
import java.awt.GraphicsEnvironment;
import java.awt.Graphics;
import java.awt.Panel;
import java.awt.event.InputEvent;
import java.awt.event.MouseEvent;
import java.awt.image.BufferedImage;
import java.io.File;
import java.lang.reflect.Field;
import java.net.URL;
import java.nio.charset.Charset;
import java.nio.file.Files;
import java.util.HashMap;
import java.util.Map;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import javax.imageio.ImageIO;

/**
 * Runs the applet an exported page names, as a browser plug-in would: the class,
 * the size and the model parameter come from the page (read as Windows-1252, its
 * character references decoded), the document base is the page itself.
 *
 *   java AppletCheck page.htm [frames [dx,dy ...]]
 *
 * Paints one frame and prints how many pixels each colour got, one "r,g,b count"
 * a line. With frames, it also writes that picture to frames-0.png and, for every
 * dx,dy, presses the mouse in the middle of the applet, drags it by dx,dy,
 * releases it and writes the next picture to frames-1.png, frames-2.png, ...
 * An exception of the applet ends the run with it.
 *
 * In a headless JVM (java.awt.headless=true, with
 * --add-opens java.desktop/java.awt=ALL-UNNAMED) the applet is still made: the
 * applet's constructor refuses a headless JVM, so the JVM counts as headed just
 * while it runs. The applet then has no peer and paints straight into the picture.
 */
public class AppletCheck {
    public static void main(String[] args) throws Exception {
        File page = new File(args[0]);
        String html = new String(Files.readAllBytes(page.toPath()), Charset.forName("windows-1252"));
        Matcher m = Pattern.compile("<APPLET code=\"([^\"]+)\\.class\" WIDTH=\"(\\d+)\" HEIGHT=\"(\\d+)\">"
                + "<PARAM name=model value=\"([^\"]*)\"></APPLET>").matcher(html);
        if (!m.find()) throw new IllegalStateException("no applet in " + page);
        final URL base = page.toURI().toURL();
        final String model = unescape(m.group(4));
        int width = Integer.parseInt(m.group(2)), height = Integer.parseInt(m.group(3));

        Applet applet = make(m.group(1));
        applet.setStub(new AppletStub() {
            public boolean isActive() { return true; }
            public URL getDocumentBase() { return base; }
            public URL getCodeBase() { return base; }
            public String getParameter(String name) { return "model".equals(name) ? model : null; }
            public AppletContext getAppletContext() { return null; }
            public void appletResize(int w, int h) {}
        });
        applet.setSize(width, height);
        applet.init();
        applet.start();

        BufferedImage img = paint(applet, width, height);
        if (args.length > 1) {
            ImageIO.write(img, "png", new File(args[1] + "-0.png"));
            for (int i = 2; i < args.length; i++) {
                String[] d = args[i].split(",");
                drag(applet, width / 2, height / 2, Integer.parseInt(d[0]), Integer.parseInt(d[1]));
                ImageIO.write(paint(applet, width, height), "png", new File(args[1] + "-" + (i - 1) + ".png"));
            }
        }
        applet.stop();
        applet.destroy();

        Map<String, Integer> counts = new HashMap<String, Integer>();
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                int p = img.getRGB(x, y);
                String key = ((p >> 16) & 255) + "," + ((p >> 8) & 255) + "," + (p & 255);
                Integer c = counts.get(key);
                counts.put(key, c == null ? 1 : c + 1);
            }
        }
        for (Map.Entry<String, Integer> e : counts.entrySet())
            System.out.println(e.getKey() + " " + e.getValue());
        System.exit(0);
    }

    private static Applet make(String className) throws Exception {
        Class<?> c = Class.forName(className);
        if (!GraphicsEnvironment.isHeadless())
            return (Applet) c.getDeclaredConstructor().newInstance();
        // The native parts of AWT are set up for a headless JVM first.
        GraphicsEnvironment.getLocalGraphicsEnvironment();
        new Panel();
        Field headless = GraphicsEnvironment.class.getDeclaredField("headless");
        headless.setAccessible(true);
        headless.set(null, Boolean.FALSE);
        try {
            return (Applet) c.getDeclaredConstructor().newInstance();
        } finally {
            headless.set(null, Boolean.TRUE);
        }
    }

    private static BufferedImage paint(Applet applet, int width, int height) {
        BufferedImage img = new BufferedImage(width, height, BufferedImage.TYPE_INT_RGB);
        Graphics g = img.getGraphics();
        applet.paint(g);
        g.dispose();
        return img;
    }

    private static void drag(Applet applet, int x, int y, int dx, int dy) {
        int down = InputEvent.BUTTON1_DOWN_MASK;
        long t = System.currentTimeMillis();
        applet.dispatchEvent(new MouseEvent(applet, MouseEvent.MOUSE_PRESSED, t, down, x, y, 1, false,
                MouseEvent.BUTTON1));
        applet.dispatchEvent(new MouseEvent(applet, MouseEvent.MOUSE_DRAGGED, t, down, x + dx, y + dy, 0, false,
                MouseEvent.NOBUTTON));
        applet.dispatchEvent(new MouseEvent(applet, MouseEvent.MOUSE_RELEASED, t, 0, x + dx, y + dy, 1, false,
                MouseEvent.BUTTON1));
    }

    /** An attribute value as a browser hands it on: character references decoded. */
    private static String unescape(String value) {
        Matcher r = Pattern.compile("&(#[0-9]+|#[xX][0-9a-fA-F]+|quot|amp|lt|gt|apos);").matcher(value);
        StringBuffer out = new StringBuffer();
        while (r.find()) {
            String ref = r.group(1);
            String text;
            if (ref.startsWith("#x") || ref.startsWith("#X"))
                text = new String(Character.toChars(Integer.parseInt(ref.substring(2), 16)));
            else if (ref.startsWith("#"))
                text = new String(Character.toChars(Integer.parseInt(ref.substring(1))));
            else
                text = ref.equals("quot") ? "\"" : ref.equals("amp") ? "&" : ref.equals("lt") ? "<"
                        : ref.equals("gt") ? ">" : "'";
            r.appendReplacement(out, Matcher.quoteReplacement(text));
        }
        r.appendTail(out);
        return out.toString();
    }
}
